// The headless ripper: every URL into its own numbered folder, every notification a line.
#include "IcyTestServer.h"
#include "LoopbackHttpServer.h"
#include "OggTestStream.h"
#include "RunCommand.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

// Runs the tool; returns its output and sets its exit status.
std::string RunTool(const std::string& arguments, int& status) {
    return wt::test::RunCommand(std::string(WAVETRAP_RIP_TOOL) + " " + arguments, status);
}

TEST(RipTool, RipsEveryUrlIntoItsNumberedFolderAndPrintsNotifications) {
    wt::test::IcyTestServer one({{"Alpha", 2}, {"Beta", 1}});
    wt::test::IcyTestServer two({{"Gamma", 1}});
    fs::path out = fs::temp_directory_path() / ("wt-rip-tool-" + std::to_string(::getpid()));
    fs::remove_all(out);
    int status = -1;
    std::string output = RunTool("--seconds 1 --out " + out.string() + " " + one.Url() + " " + two.Url(), status);
    EXPECT_EQ(status, 0) << output;

    EXPECT_NE(output.find("1 status Connecting..."), std::string::npos) << output;
    EXPECT_NE(output.find("1 song Alpha"), std::string::npos) << output;
    EXPECT_NE(output.find("2 song Gamma"), std::string::npos) << output;
    EXPECT_NE(output.find("2 progress 1 KB"), std::string::npos) << output;
    EXPECT_NE(output.find("1 status Stopped"), std::string::npos) << output;
    std::ifstream alpha(out / "1" / "Alpha.mp3", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(alpha), {}), one.Song(0));
    EXPECT_TRUE(fs::exists(out / "2" / "Gamma.mp3"));
    fs::remove_all(out);
}

TEST(RipTool, ShowsLostConnectionsAndFailsWhenAStationNeverDeliveredAudio) {
    // Connections end after two blocks; the title tries to colour the terminal red.
    wt::test::IcyTestServer dropping({{"\x1b[31mRed\x7f", 6}}, 2048, 0, 2);
    fs::path out = fs::temp_directory_path() / ("wt-rip-tool-fail-" + std::to_string(::getpid()));
    fs::remove_all(out);
    int status = -1;
    std::string output = RunTool("--seconds 2 --out " + out.string() + " " + dropping.Url() + " http://127.0.0.1:9/", status);
    EXPECT_EQ(status, 1) << output;
    EXPECT_NE(output.find("1 song ?[31mRed?\n"), std::string::npos) << output;
    EXPECT_NE(output.find("1 lost "), std::string::npos) << output;
    EXPECT_NE(output.find("2 failed http://127.0.0.1:9/"), std::string::npos) << output;
    EXPECT_EQ(output.find("1 failed"), std::string::npos) << output;
    EXPECT_EQ(output.find('\x1b'), std::string::npos);
    fs::remove_all(out);
}

TEST(RipTool, RipsAnOggStationWithItsInBandTitlesPrintable) {
    using wt::AudioKind;
    // The second song's title tries to colour the terminal and to break the line.
    const auto one = wt::test::MakeOggLink({AudioKind::Vorbis, {"ARTIST=Band", "TITLE=Opening"}}, 1);
    const auto two = wt::test::MakeOggLink({AudioKind::Opus, {"TITLE=\x1b[31mRed\nLine\xc2\x9b"}}, 2);
    wt::test::LoopbackHttpServer station;
    auto response = wt::test::ScriptedResponse::Ok(one.bytes + two.bytes, "application/ogg");
    response.chunkSize = 1000;
    station.Route("/", response);
    fs::path out = fs::temp_directory_path() / ("wt-rip-tool-ogg-" + std::to_string(::getpid()));
    fs::remove_all(out);
    int status = -1;
    std::string output = RunTool("--seconds 1 --out " + out.string() + " " + station.Url("/"), status);
    EXPECT_EQ(status, 0) << output;
    EXPECT_NE(output.find("1 song Band - Opening\n"), std::string::npos) << output;
    EXPECT_NE(output.find("1 song [31mRed Line?\n"), std::string::npos) << output;
    EXPECT_EQ(output.find('\x1b'), std::string::npos);
    std::ifstream opening(out / "1" / "Band - Opening.ogg", std::ios::binary);
    EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(opening), {}) == one.bytes);
    EXPECT_EQ(std::distance(fs::directory_iterator(out / "1"), fs::directory_iterator()), 2);
    fs::remove_all(out);
}

}  // namespace
