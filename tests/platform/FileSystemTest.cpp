// The file seam: whole-file writes that either land or leave the old file, and the reasons
// that come back from a full disk or a deleted folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "FaultyFileSystem.h"
#include "TempFolder.h"
#include "platform/FileSystem.h"

namespace wt {
namespace {

namespace fs = std::filesystem;
using test::FaultyFileSystem;
using testing::TempFolder;

std::vector<std::string> NamesIn(FileSystem& files, const std::string& folder) {
    std::vector<FolderEntry> entries;
    EXPECT_TRUE(files.List(folder, &entries).ok());
    std::vector<std::string> names;
    for (const auto& e : entries) names.push_back(e.name);
    std::sort(names.begin(), names.end());
    return names;
}

TEST(FileSystem, WriteWholeReplacesTheFileAndReadWholeReadsItBack) {
    TempFolder dir;
    const std::string path = dir.File("a.txt");
    ASSERT_TRUE(WriteWholeFile(RealFileSystem(), path, "first").ok());
    const std::string big(200000, 'x');  // more than one read's buffer
    ASSERT_TRUE(WriteWholeFile(RealFileSystem(), path, big).ok());
    std::string back;
    ASSERT_TRUE(ReadWholeFile(RealFileSystem(), path, &back).ok());
    EXPECT_EQ(back, big);
    EXPECT_EQ(NamesIn(RealFileSystem(), dir.Path()), std::vector<std::string>{"a.txt"});
}

TEST(FileSystem, AFailedWholeWriteLeavesTheOldFileAndNoCopyAndSaysWhy) {
    struct Case {
        const char* name;
        void (*fault)(FaultyFileSystem&, const std::string& folder);
        int error;
    };
    const Case cases[] = {
        {"disk full", [](FaultyFileSystem& d, const std::string&) { d.FillAfter(3); }, ENOSPC},
        {"flush fails", [](FaultyFileSystem& d, const std::string&) { d.FailSyncs(); }, EIO},
        {"folder gone", [](FaultyFileSystem& d, const std::string& f) { d.Vanish(f); }, ENOENT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        const std::string path = dir.File("cfg.dat");
        ASSERT_TRUE(WriteWholeFile(RealFileSystem(), path, "old").ok());
        FaultyFileSystem disk;
        c.fault(disk, dir.Path());
        const FileResult result = WriteWholeFile(disk, path, "new content");
        EXPECT_EQ(result.error(), c.error);
        EXPECT_EQ(result.Reason(), std::strerror(c.error));
        std::string back;
        ASSERT_TRUE(ReadWholeFile(RealFileSystem(), path, &back).ok());
        EXPECT_EQ(back, "old");
        EXPECT_EQ(NamesIn(RealFileSystem(), dir.Path()), std::vector<std::string>{"cfg.dat"});
    }
}

TEST(FileSystem, CreateNewRefusesATakenNameAndALinkAndFoldersAreMadeWithTheirParents) {
    TempFolder dir;
    FileSystem& files = RealFileSystem();
    std::unique_ptr<OpenFile> file;
    ASSERT_TRUE(files.Open(dir.File("song.mp3"), OpenMode::CreateNew, &file).ok());
    EXPECT_EQ(files.Open(dir.File("song.mp3"), OpenMode::CreateNew, &file).error(), EEXIST);
    fs::create_symlink(dir.File("elsewhere"), dir.File("link.mp3"));
    EXPECT_NE(files.Open(dir.File("link.mp3"), OpenMode::CreateNew, &file).error(), 0);
    EXPECT_FALSE(fs::exists(dir.File("elsewhere")));

    ASSERT_TRUE(files.CreateFolders(dir.File("a/b/c")).ok());
    ASSERT_TRUE(files.CreateFolders(dir.File("a/b/c/")).ok());  // already there
    EXPECT_TRUE(fs::is_directory(dir.File("a/b/c")));
    EXPECT_EQ(files.CreateFolders(dir.File("song.mp3/x")).error(), ENOTDIR);
}

TEST(FileSystem, AppendReportsHowMuchFitOnAFullDisk) {
    TempFolder dir;
    FaultyFileSystem disk;
    std::unique_ptr<OpenFile> file;
    ASSERT_TRUE(disk.Open(dir.File("s.mp3"), OpenMode::CreateNew, &file).ok());
    disk.FillAfter(5);
    std::size_t written = 0;
    EXPECT_EQ(file->Append("0123456789", 10, &written).error(), ENOSPC);
    EXPECT_EQ(written, 5u);
    ASSERT_TRUE(file->Close().ok());
    std::string back;
    ASSERT_TRUE(ReadWholeFile(RealFileSystem(), dir.File("s.mp3"), &back).ok());
    EXPECT_EQ(back, "01234");
}

}  // namespace
}  // namespace wt
