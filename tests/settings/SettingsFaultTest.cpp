// Settings saved on a disk that fills up or loses its folder: the save fails with the
// system's reason, the file keeps its old values, and the store goes on once the disk heals.
#include <gtest/gtest.h>

#include <filesystem>

#include "FaultyFileSystem.h"
#include "settings/zIniData.h"

namespace wt {
namespace {

namespace fs = std::filesystem;
using test::FaultyFileSystem;

struct SettingsFault : ::testing::Test {
    fs::path dir = fs::temp_directory_path() /
                   ("wt-settings-fault-" + std::to_string(::getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::string path = (dir / "cfg.dat").string();
    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
};

std::string FailureOf(const std::function<void()>& save) {
    try {
        save();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(saved)";
}

TEST_F(SettingsFault, AFailedSaveSaysWhyAndKeepsTheOldValues) {
    struct Case {
        const char* name;
        std::function<void(FaultyFileSystem&, const std::string&)> fault;
        const char* reason;
    };
    const Case cases[] = {
        {"disk full in the copy", [](FaultyFileSystem& d, const std::string&) { d.FillAfter(100); }, "No space left on device"},
        {"disk full at once", [](FaultyFileSystem& d, const std::string&) { d.FillAfter(0); }, "No space left on device"},
        {"flush fails", [](FaultyFileSystem& d, const std::string&) { d.FailSyncs(); }, "Input/output error"},
        {"folder deleted", [](FaultyFileSystem& d, const std::string& f) { d.Vanish(f); }, "No such file or directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(path);
        FaultyFileSystem disk;
        {
            TzIniData store(disk, path, false);
            store.WriteString("WorkingPath", "/music/Wavetrap Music/");
            store.WriteInteger("RippedSongs", 7);
            c.fault(disk, dir.string());
            const std::string failure = FailureOf([&] {
                store.WriteString("WorkingPath", std::string(5000, 'x'));
                store.WriteInteger("RippedSongs", 8);
            });
            EXPECT_NE(failure.find(c.reason), std::string::npos) << failure;
            EXPECT_NE(failure.find(path), std::string::npos) << failure;
            // Once the disk has room again the same store saves.
            disk.Heal();
            store.WriteInteger("RippedWishedSongs", 1);
        }
        TzIniData again(path, true);
        EXPECT_EQ(again.ReadString("WorkingPath", ""), "/music/Wavetrap Music/");
        EXPECT_EQ(again.ReadInteger("RippedSongs", 0), 7);
        EXPECT_EQ(again.ReadInteger("RippedWishedSongs", 0), 1);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);  // no copy left
    }
}

TEST_F(SettingsFault, ANewFileThatCannotBeMadeIsRefusedWithTheReason) {
    FaultyFileSystem disk;
    disk.Vanish(dir.string());
    const std::string failure = FailureOf([&] { TzIniData store(disk, path, false); });
    EXPECT_EQ(failure, "Cannot create file \"" + path + "\". No such file or directory");
}

}  // namespace
}  // namespace wt
