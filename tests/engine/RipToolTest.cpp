// The headless ripper: every URL into its own numbered folder, every notification a line.
#include "IcyTestServer.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

TEST(RipTool, RipsEveryUrlIntoItsNumberedFolderAndPrintsNotifications) {
    wt::test::IcyTestServer one({{"Alpha", 2}, {"Beta", 1}});
    wt::test::IcyTestServer two({{"Gamma", 1}});
    fs::path out = fs::temp_directory_path() / ("wt-rip-tool-" + std::to_string(::getpid()));
    fs::remove_all(out);
    std::string command = std::string(WAVETRAP_RIP_TOOL) + " --seconds 1 --out " + out.string() + " " +
                          one.Url() + " " + two.Url();
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    std::array<char, 4096> buffer;
    while (std::fgets(buffer.data(), buffer.size(), pipe)) output += buffer.data();
    EXPECT_EQ(::pclose(pipe), 0);

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

}  // namespace
