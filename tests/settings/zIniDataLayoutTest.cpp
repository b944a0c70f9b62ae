// The settings file on disk: layout, keys, table order, raw and compressed values, moves.
#include <gtest/gtest.h>

#include <random>

#include "StoreFiles.h"
#include "TestFiles.h"
#include "settings/DateTime.h"
#include "settings/LHARoutines.h"
#include "settings/zIniData.h"

namespace wt {
namespace {

using test::ParseStore;

class StoreLayout : public ::testing::Test {
protected:
    test::TempDir dir;
    std::string path = dir / "cfg.dat";
};

TEST_F(StoreLayout, OpeningAMissingFileCreatesAnEmpty40ByteStore) {
    const double before = NowDateTime();
    TzIniData store("cfg.dat", false, dir.Path().string());  // a bare name lives in the program folder
    ASSERT_TRUE(store.Active());
    const auto s = ParseStore(path);
    ASSERT_EQ(s.bytes.size(), 40u);
    EXPECT_EQ(std::vector<std::uint8_t>(s.bytes.begin(), s.bytes.begin() + 8),
              (std::vector<std::uint8_t>{'T', 'z', 'I', 'D', 0x1A, 0, 0, 0}));
    EXPECT_EQ(s.tableOffset, 40);
    EXPECT_EQ(s.recordCount, 0);
    EXPECT_EQ(s.counter, 0);
    EXPECT_EQ(s.reserved, 0);
    EXPECT_EQ(s.creationTime, s.lastChange);
    EXPECT_NEAR(s.creationTime, before, 5.0 / 86400);
}

TEST_F(StoreLayout, KeysAreCrcOfUpperCasedNamesAndTheTableIsSortedAsSigned) {
    EXPECT_EQ(TzIniData::KeyOf("Wishes"), 0x2DF764EE);
    EXPECT_EQ(TzIniData::KeyOf("Favorites"), static_cast<std::int32_t>(0xA0AB7E1Au));
    EXPECT_EQ(TzIniData::KeyOf("wishes"), TzIniData::KeyOf("WISHES"));

    TzIniData store(path, false);
    store.WriteStrings("Wishes", {"Madonna", "Queen"});
    store.WriteStrings("Favorites", {"Rock"});
    store.WriteInteger("RippedSongs", 7);
    const auto s = ParseStore(path);
    ASSERT_EQ(s.recordCount, 3);
    EXPECT_EQ(s.entries[0].key, TzIniData::KeyOf("Favorites"));
    for (int i = 1; i < 3; ++i) EXPECT_LT(s.entries[i - 1].key, s.entries[i].key);
    EXPECT_EQ(s.bytes.size(), static_cast<std::size_t>(s.tableOffset + 12 * s.recordCount));

    EXPECT_EQ(store.ReadString("WISHES", ""), "Madonna\r\nQueen\r\n");
    // Only 'a'..'z' fold: other bytes keep names apart.
    store.WriteString("caf\xC3\xA9", "lower");
    store.WriteString("CAF\xC3\x89", "upper");
    EXPECT_EQ(store.ReadString("Caf\xC3\xA9", ""), "lower");
    EXPECT_EQ(store.ReadString("CAF\xC3\x89", ""), "upper");
}

TEST_F(StoreLayout, ShortTextIsStoredRawAndLongRepetitiveTextCompressed) {
    TzIniData store(path, false);
    const std::string shortText = "/home/user/Wavetrap Music/";
    std::string longText;
    for (int i = 0; i < 200; ++i) longText += "Station number " + std::to_string(i % 7) + "\r\n";
    ASSERT_TRUE(store.WriteString("WorkingPath", shortText));
    ASSERT_TRUE(store.WriteString("BlackList", longText));

    const auto s = ParseStore(path);
    for (const auto& e : s.entries) {
        if (e.key == TzIniData::KeyOf("WorkingPath")) {
            EXPECT_EQ(e.value, static_cast<std::int32_t>(shortText.size()));
            const auto stored = s.Stored(e);
            EXPECT_EQ(std::string(stored.begin(), stored.end()), shortText);
        } else {
            ASSERT_LT(e.value, 0);
            const auto stored = s.Stored(e);
            EXPECT_EQ(stored, CompressBytes({reinterpret_cast<const std::uint8_t*>(longText.data()), longText.size()}));
        }
    }
    EXPECT_EQ(store.ReadString("WorkingPath", "x"), shortText);
    EXPECT_EQ(store.ReadString("BlackList", "x"), longText);
    EXPECT_LT(store.ReadInteger("BlackList", 0), 0);  // the size field of a compressed text
}

TEST_F(StoreLayout, RewritingMovesTheBytesToTheEndAndKeepsTheTable) {
    TzIniData store(path, false);
    store.WriteString("A", "first value");
    store.WriteString("B", "second value");
    store.WriteInteger("C", 3);
    const auto before = ParseStore(path);
    store.WriteString("A", "first value");
    const auto after = ParseStore(path);

    ASSERT_EQ(after.recordCount, before.recordCount);
    for (int i = 0; i < after.recordCount; ++i) EXPECT_EQ(after.entries[i].key, before.entries[i].key);
    const auto entryOf = [&](const test::ParsedStore& s, const char* name) {
        for (const auto& e : s.entries) if (e.key == TzIniData::KeyOf(name)) return e;
        return IniEntry{};
    };
    EXPECT_EQ(entryOf(after, "B").dataOffset, 40);
    EXPECT_EQ(entryOf(after, "A").dataOffset, 40 + static_cast<int>(std::string("second value").size()));
    EXPECT_EQ(after.bytes.size(), before.bytes.size());
    EXPECT_EQ(store.ReadString("A", ""), "first value");
    EXPECT_EQ(store.ReadString("B", ""), "second value");
}

TEST_F(StoreLayout, DeletingADataRecordClosesTheGap) {
    TzIniData store(path, false);
    store.WriteString("One", "1111111111");
    store.WriteString("Two", "22222");
    store.WriteInteger("Int", -1);
    store.WriteString("Three", "333");
    const auto before = ParseStore(path);
    ASSERT_TRUE(store.DeleteValue("one"));
    const auto after = ParseStore(path);

    EXPECT_EQ(after.bytes.size(), before.bytes.size() - 10 - 12);
    EXPECT_EQ(after.tableOffset, before.tableOffset - 10);
    for (const auto& e : after.entries) {
        if (e.IsInteger()) continue;
        const auto old = std::find_if(before.entries.begin(), before.entries.end(),
                                      [&](const IniEntry& b) { return b.key == e.key; });
        EXPECT_EQ(e.dataOffset, old->dataOffset - 10);
    }
    EXPECT_EQ(store.ReadString("Two", ""), "22222");
    EXPECT_EQ(store.ReadString("Three", ""), "333");
    EXPECT_EQ(store.ReadInteger("Int", 0), -1);
    EXPECT_FALSE(store.DeleteValue("One"));
}

TEST_F(StoreLayout, WritingAnIntegerOverTextRemovesTheTextsBytes) {
    TzIniData store(path, false);
    store.WriteString("DatabaseVersion", "1");
    EXPECT_EQ(store.ReadInteger("DatabaseVersion", 0), 1);  // the size field of the raw text
    store.WriteInteger("DatabaseVersion", 42);
    const auto s = ParseStore(path);
    ASSERT_EQ(s.recordCount, 1);
    EXPECT_EQ(s.entries[0].dataOffset, 0);
    EXPECT_EQ(s.entries[0].value, 42);
    EXPECT_EQ(s.bytes.size(), 40u + 12u);
}

TEST_F(StoreLayout, ValuesLargerThanTheMoveBufferSurviveMoves) {
    std::mt19937 rng(7);
    std::string big(700000, '\0');
    for (auto& c : big) c = static_cast<char>(rng());  // incompressible: stored raw
    TzIniData store(path, false);
    store.WriteString("Big", big);
    store.WriteString("Small", "after the big one");
    store.WriteString("Big", big);  // "Small" moves 700,000 bytes toward the start
    EXPECT_EQ(store.ReadString("Small", ""), "after the big one");
    EXPECT_TRUE(store.DeleteValue("Small"));
    store.WriteString("Small", "again");
    EXPECT_TRUE(store.DeleteValue("Big"));
    EXPECT_EQ(store.ReadString("Small", ""), "again");
    EXPECT_EQ(ParseStore(path).bytes.size(), 40u + 5u + 12u);
}

}  // namespace
}  // namespace wt
