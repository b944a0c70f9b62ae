// Drives the wavetrap-settings command-line tool as a user or script would.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <sys/wait.h>

#include "TestFiles.h"
#include "settings/zIniData.h"

namespace wt {
namespace {

struct Result {
    int status;
    std::string out;  // stdout and, after it, stderr
};

Result RunTool(const std::string& arguments) {
    const std::string command = std::string("'") + WT_SETTINGS_TOOL + "' " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    Result r{-1, {}};
    if (!pipe) return r;
    std::array<char, 4096> buf;
    std::size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0) r.out.append(buf.data(), n);
    const int raw = pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return r;
}

class SettingsTool : public ::testing::Test {
protected:
    test::TempDir dir;
    std::string file = "'" + (dir / "cfg.dat") + "'";
};

TEST_F(SettingsTool, SetsGetsListsAndDeletesThroughTheStore) {
    EXPECT_EQ(RunTool(file + " set-text WorkingPath '/home/u/Wavetrap Music/'").status, 0);
    EXPECT_EQ(RunTool(file + " set-int RippedSongs -12").status, 0);
    EXPECT_EQ(RunTool(file + " set-bool AutoUpdate true").status, 0);
    EXPECT_EQ(RunTool(file + " set-text Wishes \"$(printf 'Queen\\r\\nAbba\\r\\nX')\"").status, 0);

    const Result get = RunTool(file + " get workingpath");
    EXPECT_EQ(get.status, 0);
    EXPECT_EQ(get.out, "/home/u/Wavetrap Music/");  // nothing added
    EXPECT_EQ(RunTool(file + " get RippedSongs").out, "-12");
    EXPECT_EQ(RunTool(file + " get AutoUpdate").out, "1");

    const Result list = RunTool(file + " list");
    EXPECT_EQ(list.status, 0);
    EXPECT_NE(list.out.find("2DF764EE text raw 14 Queen\\r\\nAbba\\r\\nX\n"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find(" integer inline 0 -12\n"), std::string::npos) << list.out;

    EXPECT_EQ(RunTool(file + " delete WorkingPath").status, 0);
    TzIniData store(dir / "cfg.dat", true);
    EXPECT_EQ(store.ReadString("WorkingPath", "gone"), "gone");
    EXPECT_EQ(store.ReadInteger("RippedSongs", 0), -12);
    EXPECT_TRUE(store.ReadBool("AutoUpdate", false));
    EXPECT_EQ(store.ReadString("Wishes", ""), "Queen\r\nAbba\r\nX");
}

TEST_F(SettingsTool, RefusalsExitNonZeroWithTheMessageAndChangeNothing) {
    const Result missingFile = RunTool(file + " get A");
    EXPECT_EQ(missingFile.status, 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "cfg.dat"));  // reading never creates the file

    ASSERT_EQ(RunTool(file + " set-int A 1").status, 0);
    const auto before = test::ReadFileBytes(dir / "cfg.dat");
    EXPECT_EQ(RunTool(file + " get B").status, 1);
    EXPECT_EQ(RunTool(file + " delete B").status, 1);
    EXPECT_EQ(RunTool(file + " set-int A 99999999999").status, 2);
    EXPECT_EQ(RunTool(file + " set-bool A maybe").status, 2);
    EXPECT_EQ(RunTool(file + " frobnicate").status, 2);
    EXPECT_EQ(test::ReadFileBytes(dir / "cfg.dat"), before);

    test::WriteFileBytes(dir / "bad.dat", std::vector<std::uint8_t>(40, 'x'));
    const Result bad = RunTool("'" + (dir / "bad.dat") + "' set-int A 1");
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out, "zIniData Open: Wrong file format - " + (dir / "bad.dat") + "\n");
    EXPECT_EQ(test::ReadFileBytes(dir / "bad.dat"), std::vector<std::uint8_t>(40, 'x'));
}

TEST_F(SettingsTool, WithoutAFileWorksOnTheUsersOwnAndSaysSoInItsHelp) {
    // The tool finds the user's file as the program does: in the XDG config folder.
    const std::string env = "env HOME='" + (dir / "home") + "' XDG_CONFIG_HOME='" + (dir / "config") + "' ";
    const std::string tool = std::string("'") + WT_SETTINGS_TOOL + "'";
    const auto run = [&](const std::string& arguments) {
        FILE* pipe = popen((env + tool + " " + arguments + " 2>&1").c_str(), "r");
        std::string out;
        char buf[4096];
        std::size_t n;
        while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
        const int raw = pclose(pipe);
        return Result{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, out};
    };
    EXPECT_EQ(run("get A").status, 1);  // no file yet, none made
    EXPECT_EQ(run("set-text UpdateServer http://127.0.0.1:1").status, 0);
    TzIniData store(dir / "config/wavetrap/cfg.dat", true);
    EXPECT_EQ(store.ReadString("UpdateServer", ""), "http://127.0.0.1:1");
    EXPECT_EQ(run("get UpdateServer").out, "http://127.0.0.1:1");

    const Result help = run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("$XDG_CONFIG_HOME/wavetrap/"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("portable"), std::string::npos);
}

}  // namespace
}  // namespace wt
