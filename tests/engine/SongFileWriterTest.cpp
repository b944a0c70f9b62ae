// Song files are always new files: nothing is emptied, written over or reached through a
// symbolic link, and names stay within the file system's limits.
#include "engine/SongFileWriter.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace wt {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct SongFileWriterTest : ::testing::Test {
    fs::path folder = fs::temp_directory_path() / ("wt-songfile-" + std::to_string(::getpid()));
    void SetUp() override {
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    std::string Write(const std::string& title, const std::string& bytes) {
        SongFileWriter writer;
        EXPECT_TRUE(writer.Open(folder.string() + "/", title, ".mp3")) << title;
        EXPECT_TRUE(writer.Append(bytes.data(), bytes.size()));
        EXPECT_TRUE(writer.Close());
        return fs::path(writer.Path()).filename().string();
    }
};

TEST_F(SongFileWriterTest, ATakenNameGetsTheNextFreeNumberAndNothingIsOverwritten) {
    EXPECT_EQ(Write("Song", "first"), "Song.mp3");
    EXPECT_EQ(Write("Song", "second"), "Song (2).mp3");
    // A symbolic link in the way, even one to nowhere, is left alone and not followed.
    fs::create_symlink(folder / "elsewhere", folder / "Song (3).mp3");
    EXPECT_EQ(Write("Song", "third"), "Song (4).mp3");
    EXPECT_EQ(ReadAll(folder / "Song.mp3"), "first");
    EXPECT_EQ(ReadAll(folder / "Song (2).mp3"), "second");
    EXPECT_FALSE(fs::exists(folder / "elsewhere"));
}

std::string Repeat(const std::string& text, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += text;
    return out;
}

TEST(SongFileName, IsASafeVisibleNameWithinTheLimit) {
    struct Case {
        std::string title;
        int n;
        std::string name;
    } cases[] = {
        {"AC/DC: Back?", 1, "AC_DC_ Back_.mp3"},
        {".hidden", 1, "_hidden.mp3"},
        {"..", 1, "__.mp3"},
        {"Song", 12, "Song (12).mp3"},
        {Repeat("a", 300), 1, Repeat("a", 251) + ".mp3"},
        {Repeat("a", 300), 2, Repeat("a", 247) + " (2).mp3"},
        // Cut on a character boundary: 251 bytes of room hold 125 two-byte characters.
        {Repeat("\xC3\xA9", 130), 1, Repeat("\xC3\xA9", 125) + ".mp3"},
    };
    for (const auto& c : cases) {
        std::string name = SongFileName(c.title, ".mp3", c.n);
        EXPECT_EQ(name, c.name) << c.title.substr(0, 20);
        EXPECT_LE(name.size(), 255u);
    }
}

}  // namespace
}  // namespace wt
