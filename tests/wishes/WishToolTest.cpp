// The headless wish mode against a real Icecast server with two mounts: the wished title on one
// mount is found on the server's status page, ripped into "Wish List/", and the rip ends at the
// next, unwished title.
#include "IcecastServer.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

namespace {

namespace fs = std::filesystem;

bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

std::uintmax_t SizeOf(const fs::path& path) {
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    return ec ? 0 : size;
}

TEST(WishTool, RecordsAWishedSongFromAnIcecastStatusPageAndEndsAtTheNextTitle) {
    if (!wt::test::IcecastServer::Available()) GTEST_SKIP() << "icecast2 or ffmpeg not installed";
    wt::test::IcecastServer server(2);
    ASSERT_TRUE(server.Start()) << server.Error();
    ASSERT_TRUE(server.SetTitle("Morning - Show", 0));
    ASSERT_TRUE(server.SetTitle("Traffic - News", 1));
    const fs::path out = fs::temp_directory_path() / ("wt-wish-tool-" + std::to_string(::getpid()));
    fs::remove_all(out);
    const int before = server.Requests("/status-json.xsl");

    const std::string command = std::string(WAVETRAP_RIP_TOOL) + " --wish Beatles --watch " + server.StreamUrl(0) +
                                " --watch " + server.StreamUrl(1) + " --watch-every 1 --out " + out.string() +
                                " --seconds 14 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    std::thread reader([&] {
        std::array<char, 4096> buffer;
        while (std::fgets(buffer.data(), buffer.size(), pipe)) output += buffer.data();
    });

    const fs::path wished = out / "Wish List" / "The Beatles - Help.mp3";
    const fs::path unwished = out / "Wish List" / "Someone Else - Other Song.mp3";
    bool looked = WaitFor([&] { return server.Requests("/status-json.xsl") > before; }, 10000);
    EXPECT_TRUE(looked) << "the tool asks the server's status page";
    bool recorded = false;
    if (looked) {
        // A jingle plays for a second before it: the server's burst to a new listener holds its
        // end, under its title, before the wished song begins.
        EXPECT_TRUE(server.SetTitle("Station - Jingle", 1));
        std::this_thread::sleep_for(std::chrono::seconds(1));
        EXPECT_TRUE(server.SetTitle("The Beatles - Help", 1));
        recorded = WaitFor([&] { return SizeOf(wished) >= 32 * 1024; }, 15000);
        EXPECT_TRUE(recorded) << "the wished song is recorded";
        EXPECT_TRUE(server.SetTitle("Someone Else - Other Song", 1));
    }
    reader.join();
    const int status = WEXITSTATUS(::pclose(pipe));
    EXPECT_EQ(status, 0) << output;
    EXPECT_NE(output.find("hit Beatles | " + server.StreamUrl(1) + " | " + server.StreamUrl(1) +
                          " | The Beatles - Help (status pages)"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("kept " + server.StreamUrl(1) + " | The Beatles - Help"), std::string::npos) << output;
    EXPECT_NE(output.find("unwished " + server.StreamUrl(1) + " | Someone Else - Other Song"), std::string::npos)
        << output;
    EXPECT_NE(output.find("ended " + server.StreamUrl(1)), std::string::npos) << output;
    EXPECT_EQ(output.find("Morning"), std::string::npos) << "the other mount is not ripped\n" << output;
    EXPECT_GE(SizeOf(wished), 32u * 1024);
    EXPECT_FALSE(fs::exists(unwished)) << "no file is left for the unwished title";
    fs::remove_all(out);
}

}  // namespace
