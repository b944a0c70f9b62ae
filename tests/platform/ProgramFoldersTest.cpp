// Where the program's files live: the XDG folders of the user, or the program's own folder in
// portable mode; and setting damaged files aside.
#include "platform/ProgramFolder.h"
#include "platform/SetAside.h"

#include <gtest/gtest.h>

#include "FaultyFileSystem.h"
#include "TempFolder.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace wt {
namespace {

namespace fs = std::filesystem;

struct TempDir {
    testing::TempFolder temp;
    fs::path path{temp.Path()};
    std::string Sub(const std::string& name) const {
        fs::create_directories(path / name);
        return (path / name).string() + "/";
    }
};

TEST(ProgramFolders, UserFoldersFromTheEnvironment) {
    TempDir temp;
    const std::string exe = temp.Sub("bin");
    struct Case {
        FolderEnvironment env;
        ProgramFolders expected;
    };
    const Case cases[] = {
        // Unset variables: the defaults below HOME; without a runtime folder the lock is cached.
        {{"/home/u", "", "", "", ""},
         {"/home/u/.config/wavetrap/", "/home/u/.local/share/wavetrap/", "/home/u/.cache/wavetrap/",
          "/home/u/.cache/wavetrap/", exe, false}},
        {{"/home/u", "/c", "/d/", "/k", "/run/user/7"},
         {"/c/wavetrap/", "/d/wavetrap/", "/k/wavetrap/", "/run/user/7/", exe, false}},
        // Relative values are invalid by the XDG rules and ignored.
        {{"/home/u/", "rel", "rel", "rel", "rel"},
         {"/home/u/.config/wavetrap/", "/home/u/.local/share/wavetrap/", "/home/u/.cache/wavetrap/",
          "/home/u/.cache/wavetrap/", exe, false}},
    };
    for (const Case& c : cases) {
        const ProgramFolders f = ResolveProgramFolders(exe, c.env);
        EXPECT_EQ(f.config, c.expected.config);
        EXPECT_EQ(f.data, c.expected.data);
        EXPECT_EQ(f.cache, c.expected.cache);
        EXPECT_EQ(f.runtime, c.expected.runtime);
        EXPECT_EQ(f.share, c.expected.share);
        EXPECT_FALSE(f.portable);
    }
}

TEST(ProgramFolders, PortableWhenTheProgramFolderSaysSoAndIsWritable) {
    const FolderEnvironment env{"/home/u", "", "", "", "/run/user/7"};
    for (const char* marker : {"cfg.dat", "portable"}) {
        TempDir temp;
        const std::string exe = temp.Sub("bin");
        std::ofstream(exe + marker) << "";
        const ProgramFolders f = ResolveProgramFolders(exe, env);
        EXPECT_TRUE(f.portable) << marker;
        for (const std::string& folder : {f.config, f.data, f.cache, f.runtime, f.share}) EXPECT_EQ(folder, exe);
    }
}

TEST(ProgramFolders, InstalledDataFolderHoldsTheHelpPage) {
    TempDir temp;
    const std::string exe = temp.Sub("usr/bin");
    const std::string share = temp.Sub("usr/share/wavetrap");
    const FolderEnvironment env{"/home/u", "", "", "", ""};
    EXPECT_EQ(ResolveProgramFolders(exe, env).share, exe);  // a build tree
    std::ofstream(share + "Help.html") << "<html></html>";
    EXPECT_EQ(ResolveProgramFolders(exe, env).share, share);
}

TEST(ProgramFolders, CreatesMissingFoldersForTheUserAlone) {
    TempDir temp;
    const std::string home = temp.Sub("home");
    const ProgramFolders f = ResolveProgramFolders(temp.Sub("bin"), {home, "", "", "", ""});
    CreateProgramFolders(f);
    for (const std::string& folder : {f.config, f.data, f.cache, home + ".local/"}) {
        struct stat st {};
        ASSERT_EQ(::stat(folder.c_str(), &st), 0) << folder;
        EXPECT_EQ(st.st_mode & 0777, 0700u) << folder;
    }
    CreateProgramFolders(f);  // existing folders are fine
    std::ofstream(temp.path / "file") << "x";
    ProgramFolders blocked = f;
    blocked.config = (temp.path / "file" / "wavetrap/").string();
    EXPECT_THROW(CreateProgramFolders(blocked), std::runtime_error);
}

TEST(ProgramFolders, FolderChooserStartsInTheMusicFolder) {
    TempDir temp;
    const std::string home = temp.Sub("home");
    const std::string config = temp.Sub("config");
    const FolderEnvironment env{home, config, "", "", ""};
    EXPECT_EQ(UserMusicFolder(env), home);  // no user-dirs.dirs
    const struct {
        std::string line;
        std::string expected;
    } cases[] = {
        {"XDG_MUSIC_DIR=\"$HOME/Musik\"", temp.Sub("home/Musik")},
        {"XDG_MUSIC_DIR=\"" + temp.Sub("elsewhere") + "\"", temp.Sub("elsewhere")},
        {"XDG_MUSIC_DIR=\"$HOME/Missing\"", home},  // a folder that does not exist
        {"XDG_MUSIC_DIR=\"relative\"", home},
    };
    for (const auto& c : cases) {
        std::ofstream(config + "user-dirs.dirs") << "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                                 << c.line << "\n";
        EXPECT_EQ(UserMusicFolder(env), c.expected) << c.line;
    }
}

TEST(SetAside, NamesCarryTheDateAndNeverReplaceAnotherFile) {
    TempDir temp;
    const std::string file = (temp.path / "data.db").string();
    std::tm when{};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 11;
    when.tm_mday = 10;
    when.tm_hour = 13;
    when.tm_min = 5;
    when.tm_sec = 9;
    when.tm_isdst = -1;
    const std::time_t now = std::mktime(&when);
    std::ofstream(file) << "first";
    const std::string copy = CopyAside(file, now);
    EXPECT_EQ(copy, file + ".damaged-2026-12-10-130509");
    EXPECT_TRUE(fs::exists(file));
    const std::string moved = MoveAside(file, now);
    EXPECT_EQ(moved, file + ".damaged-2026-12-10-130509-2");
    EXPECT_FALSE(fs::exists(file));
    std::ifstream in(moved);
    std::string text;
    in >> text;
    EXPECT_EQ(text, "first");
    EXPECT_THROW(MoveAside(file, now), std::runtime_error);  // nothing there any more
}

TEST(SetAside, ACopyThatDoesNotFitLeavesNoHalfCopyAndSaysWhy) {
    testing::TempFolder dir;
    const std::string file = dir.File("data.db");
    std::ofstream(file) << std::string(5000, 'x');
    test::FaultyFileSystem disk;
    disk.FillAfter(1000);
    try {
        CopyAside(file, 0, disk);
        ADD_FAILURE() << "copied";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("No space left on device"), std::string::npos) << e.what();
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace wt
