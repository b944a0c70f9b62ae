// The store's operations: typed reads, removal, read-only mode, messages, the change counter
// and the values of damaged or old files.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <cstring>

#include "StoreFiles.h"
#include "TestFiles.h"
#include "platform/ByteOrder.h"
#include "settings/DateTime.h"
#include "settings/LHARoutines.h"
#include "settings/zIniData.h"

namespace wt {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::ParseStore;

Bytes Compressed(const std::string& text) {
    return CompressBytes({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

template <class F>
std::string MessageOf(F&& f) {
    try {
        f();
    } catch (const EzIniDataError& e) {
        return e.what();
    }
    return "(no EzIniDataError)";
}

class Store : public ::testing::Test {
protected:
    test::TempDir dir;
    std::string path = dir / "cfg.dat";
};

TEST_F(Store, TypedReadsFollowTheRecordsThirdField) {
    TzIniData store(path, false);
    store.WriteInteger("Minus", -5);
    store.WriteInteger("Big", 256);
    store.WriteBool("Flag", true);
    EXPECT_EQ(store.ReadString("Minus", ""), "-5");
    EXPECT_FALSE(store.ReadBool("Big", true));  // only the lowest byte counts
    EXPECT_TRUE(store.ReadBool("Flag", false));
    EXPECT_EQ(store.ReadInteger("Flag", 0), 1);
    store.WriteBool("Flag", false);
    EXPECT_FALSE(store.ReadBool("Flag", true));
    // Missing names give the defaults.
    EXPECT_EQ(store.ReadString("Nope", "dflt"), "dflt");
    EXPECT_EQ(store.ReadInteger("Nope", 9), 9);
    EXPECT_TRUE(store.ReadBool("Nope", true));
}

TEST_F(Store, EmptyTextOrListRemovesTheSetting) {
    TzIniData store(path, false);
    store.WriteStrings("Favorites", {"Rock", "Jazz"});
    EXPECT_EQ(store.ReadString("Favorites", ""), "Rock\r\nJazz\r\n");
    EXPECT_FALSE(store.WriteStrings("Favorites", {}));
    EXPECT_EQ(store.ReadString("Favorites", "gone"), "gone");

    store.WriteString("WorkingPath", "/music/");
    EXPECT_FALSE(store.WriteString("WorkingPath", ""));
    EXPECT_EQ(ParseStore(path).recordCount, 0);

    // On a missing name nothing is written at all.
    const Bytes before = test::ReadFileBytes(path);
    EXPECT_FALSE(store.WriteString("Missing", ""));
    EXPECT_EQ(test::ReadFileBytes(path), before);
}

TEST_F(Store, EveryChangeIncrementsTheCounterWhichWrapsAfter0x7FFFFFF5) {
    {
        TzIniData store(path, false);
        store.WriteInteger("A", 1);
        store.WriteString("B", "x");
        store.DeleteValue("B");
        EXPECT_EQ(ParseStore(path).counter, 3);
        EXPECT_EQ(store.ChangeCounter(), 3);
    }
    Bytes bytes = test::ReadFileBytes(path);
    WriteLE32(bytes.data() + 32, 0x7FFFFFF5u);
    test::WriteFileBytes(path, bytes);
    TzIniData store(path, false);
    store.WriteInteger("A", 2);
    EXPECT_EQ(ParseStore(path).counter, 0);
}

TEST_F(Store, AChangeByAnotherWriterIsTakenInAtTheNextOperation) {
    TzIniData mine(path, false);
    TzIniData theirs(path, false);
    int refreshed = 0;
    mine.AfterRefresh = [&](TzIniData&) { ++refreshed; };
    mine.WriteString("Wishes", "one\r\n");
    EXPECT_EQ(refreshed, 0);  // its own change is no news
    theirs.WriteString("Wishes", "two\r\n");
    theirs.WriteInteger("RippedSongs", 5);
    EXPECT_EQ(mine.ReadString("Wishes", ""), "two\r\n");
    EXPECT_EQ(refreshed, 1);
    EXPECT_EQ(mine.ChangeCounter(), 3);
    EXPECT_EQ(mine.ReadInteger("RippedSongs", 0), 5);
    mine.WriteInteger("RippedSongs", 6);
    EXPECT_EQ(theirs.ReadInteger("ripPEDsongs", 0), 6);

    // The current record follows its key when another writer shifts the table: "Favorites"
    // sorts before "Wishes".
    EXPECT_EQ(mine.ReadString("Wishes", ""), "two\r\n");
    theirs.WriteString("Favorites", "Rock\r\n");
    EXPECT_EQ(mine.ReadString("", ""), "two\r\n");
}

TEST_F(Store, ReadOnlyStoreRefusesWritesAndLeavesTheFileAlone) {
    {
        TzIniData store(path, false);
        store.WriteString("WorkingPath", "/music/");
    }
    const Bytes before = test::ReadFileBytes(path);
    TzIniData store(path, true);
    EXPECT_FALSE(store.WriteString("WorkingPath", "/other/"));
    EXPECT_FALSE(store.WriteStrings("BlackList", {"a"}));
    EXPECT_FALSE(store.WriteInteger("RippedSongs", 1));
    EXPECT_FALSE(store.WriteBool("AutoUpdate", true));
    EXPECT_FALSE(store.WriteString("WorkingPath", ""));
    EXPECT_EQ(MessageOf([&] { store.DeleteValue("WorkingPath"); }),
              "Can't write ReadOnly mode opened file:\r" + path);
    EXPECT_EQ(MessageOf([&] { store.SetReadOnly(false); }),
              "Can't change ReadOnly property for opened file:\r" + path);
    EXPECT_EQ(store.ReadString("WorkingPath", ""), "/music/");
    EXPECT_EQ(test::ReadFileBytes(path), before);
}

TEST_F(Store, MessagesOfRefusals) {
    TzIniData closed(dir.Path().string());
    EXPECT_EQ(MessageOf([&] { closed.ReadString("A", ""); }), "Table not in Open mode - ");
    closed.SetReadOnly(true);  // allowed while closed

    TzIniData store(path, false);
    EXPECT_EQ(MessageOf([&] { store.ReadInteger("", 0); }), "Invalide record name: ''");
    EXPECT_EQ(MessageOf([&] { store.WriteString("", "x"); }), "Invalide record name: ''");
    EXPECT_FALSE(store.DeleteValue(""));
    store.SetActive(false);
    EXPECT_EQ(MessageOf([&] { store.WriteInteger("A", 1); }), "Table not in Open mode - " + path);
    store.SetActive(true);
    store.WriteInteger("A", 1);
    EXPECT_EQ(store.ReadInteger("", 0), 1);  // with records, an empty name is the current record

    test::WriteFileBytes(dir / "short.dat", Bytes(39, 0));
    EXPECT_EQ(MessageOf([&] { TzIniData s(dir / "short.dat", false); }),
              "zIniData Open: File is corrapted - " + (dir / "short.dat"));
    Bytes wrong(40, 0);
    std::memcpy(wrong.data(), "TzID\x1B", 5);
    test::WriteFileBytes(dir / "wrong.dat", wrong);
    EXPECT_EQ(MessageOf([&] { TzIniData s(dir / "wrong.dat", false); }),
              "zIniData Open: Wrong file format - " + (dir / "wrong.dat"));
    // A table that does not fit the file is refused rather than edited.
    test::MakeStoreFile(dir / "table.dat", NowDateTime(), {{1, {}, 1}});
    Bytes table = test::ReadFileBytes(dir / "table.dat");
    WriteLE32(table.data() + 20, 1000);
    test::WriteFileBytes(dir / "table.dat", table);
    EXPECT_EQ(MessageOf([&] { TzIniData s(dir / "table.dat", false); }),
              "zIniData Open: File is corrapted - " + (dir / "table.dat"));
}

TEST_F(Store, DamagedValuesReadAsDefaultOrAsFarAsTheyDecode) {
    const Bytes invalidTable = {5, 0, 0, 0, 0x00, 0x01, 0xA0};  // 1 item; code-length count 20
    const Bytes hugeLength = {0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0};
    const Bytes outside = {'a', 'b'};
    std::vector<test::RawRecord> records = {
        {TzIniData::KeyOf("Outside"), outside, 2},
        {TzIniData::KeyOf("BadTable"), invalidTable, -static_cast<std::int32_t>(invalidTable.size())},
        {TzIniData::KeyOf("Huge"), hugeLength, -static_cast<std::int32_t>(hugeLength.size())},
        {TzIniData::KeyOf("Fine"), {'o', 'k'}, 2},
    };
    std::sort(records.begin(), records.end(), [](const auto& a, const auto& b) { return a.key < b.key; });
    test::MakeStoreFile(path, NowDateTime(), records);
    // Point "Outside" past the end of the file.
    Bytes bytes = test::ReadFileBytes(path);
    const auto s = ParseStore(path);
    for (int i = 0; i < s.recordCount; ++i) {
        if (s.entries[i].key == TzIniData::KeyOf("Outside"))
            WriteLE32(bytes.data() + s.tableOffset + 12 * i + 4, 100000);
    }
    test::WriteFileBytes(path, bytes);

    TzIniData store(path, false);
    EXPECT_EQ(store.ReadString("Outside", "default"), "default");
    EXPECT_EQ(store.ReadString("BadTable", "default"), "");
    EXPECT_EQ(store.ReadString("Huge", "default"), "");
    EXPECT_EQ(store.ReadString("Fine", ""), "ok");
    // Removing the record that points outside leaves the others' bytes alone.
    EXPECT_TRUE(store.DeleteValue("Outside"));
    EXPECT_EQ(store.ReadString("Fine", ""), "ok");
    EXPECT_EQ(ParseStore(path).bytes.size(), bytes.size() - 12);
}

TEST_F(Store, FilesFromBefore2003KeepCompressedValuesWithAPositiveSize) {
    const std::string text = "Radio One\r\nRadio Two\r\nRadio One\r\nRadio Two\r\n";
    const Bytes packed = Compressed(text);
    ASSERT_LT(packed[4], 0x20);  // the item count's high byte
    const Bytes crText = {'a', 'b', 'c', 'd', '\r', '\n', 'x'};
    const auto size = [](const Bytes& b) { return static_cast<std::int32_t>(b.size()); };
    for (double created : {EncodeDate(2003, 4, 30), EncodeDate(2003, 5, 1)}) {
        test::MakeStoreFile(path, created, {{1, packed, size(packed)}, {2, crText, size(crText)}});
        TzIniData store(path, true);
        const auto entries = store.Records();
        const bool old = created < EncodeDate(2003, 5, 1);
        EXPECT_EQ(store.RecordText(entries[0]) == text, old);
        EXPECT_EQ(store.RecordText(entries[1]), "abcd\r\nx");
    }
}

TEST_F(Store, ClosingSetsTheFileTimeToTheLastChange) {
    {
        TzIniData store(path, false);
        store.WriteInteger("A", 1);
    }
    const auto s = ParseStore(path);
    struct stat st{};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mtim.tv_sec % 2, 0);
    EXPECT_EQ(st.st_mtim.tv_nsec, 0);
    EXPECT_NEAR(static_cast<double>(st.st_mtim.tv_sec), static_cast<double>(TimeTFromDateTime(s.lastChange)), 2.0);

    // A last change time that is no date leaves the file time alone.
    Bytes bytes = test::ReadFileBytes(path);
    std::fill(bytes.begin() + 24, bytes.begin() + 32, 0xFF);
    test::WriteFileBytes(path, bytes);
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    const auto mtime = st.st_mtim.tv_sec;
    { TzIniData store(path, false); EXPECT_EQ(store.ReadInteger("A", 0), 1); }
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mtim.tv_sec, mtime);
}

TEST_F(Store, EveryChangeReplacesTheFileWholeAndLeavesNoCopy) {
    TzIniData store(path, false);
    store.WriteString("Wishes", "one\r\n");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    struct stat before{}, after{};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    store.WriteInteger("RippedSongs", 1);  // in place in the table, yet a new file on disk
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode & 0777, 0640u);  // the user's permissions stay
    store.WriteInteger("RippedSongs", 2);
    store.DeleteValue("Wishes");
    EXPECT_FALSE(store.WriteString("Nothing", ""));  // no change: no copy either
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.Path())) names.push_back(e.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"cfg.dat"});
    EXPECT_EQ(store.ReadInteger("RippedSongs", 0), 2);
}

TEST_F(Store, CopiesLeftByACrashAreRemovedOnceTheyAreOld) {
    namespace fs = std::filesystem;
    { TzIniData store(path, false); }
    const struct {
        const char* name;
        int ageMinutes;
        bool stays;
    } cases[] = {
        {"cfg.dat.new-AbC123", 5, false},
        {"cfg.dat.new-XyZ789", 0, true},   // may be another writer's change under way
        {"cfg.dat.new-toolong", 5, true},  // not a name the store makes
        {"other.dat.new-AbC123", 5, true},
    };
    for (const auto& c : cases) {
        test::WriteFileBytes(dir / c.name, {1, 2, 3});
        fs::last_write_time(dir / c.name, fs::file_time_type::clock::now() - std::chrono::minutes(c.ageMinutes));
    }
    { TzIniData store(path, false); }
    for (const auto& c : cases) EXPECT_EQ(fs::exists(dir / c.name), c.stays) << c.name;
}

}  // namespace
}  // namespace wt
