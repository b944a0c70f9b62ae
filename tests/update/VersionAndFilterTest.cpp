#include "update/UpdateFilter.h"
#include "update/VersionFile.h"

#include <gtest/gtest.h>

namespace wt {
namespace {

TEST(VersionFile, GroupsAreTakenByPositionFromTheRejoinedLines) {
    struct Case {
        const char* body;
        std::optional<int> catalogue, program;
    };
    const Case cases[] = {
        {"012\r\n003\r\n", 12, 3},
        {"012\n003", 12, 3},          // LF and a last line without an end
        {"012\r003 and more", 12, 3},  // CR alone; text after character 8 is ignored
        {"012", 12, std::nullopt},     // one line: no program version
        {"012\r\n03", 12, std::nullopt},
        {"", std::nullopt, std::nullopt},
        {"ab5\r\n003", std::nullopt, 3},  // letters
        {"5\r\n003", std::nullopt, std::nullopt},  // first line too short: its line end lands in the group
        {"1234\r\n003", 123, std::nullopt},        // first line too long shifts the program group
        {"005\r\n002", 5, 2},
        {"-01\r\n  7", -1, 7},
        {"0 1\r\n003", std::nullopt, 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CatalogueVersionOf(c.body), c.catalogue) << c.body;
        EXPECT_EQ(ProgramVersionOf(c.body), c.program) << c.body;
    }
}

TEST(UpdateFilter, BlackListMatchesSubstringsBothWaysCaseSensitively) {
    const std::vector<std::string> entries = {"Rock FM", "", "Jazz"};
    EXPECT_TRUE(IsInBlackList(entries, "Best Rock FM"));  // title contains an entry
    EXPECT_TRUE(IsInBlackList(entries, "Rock"));          // title inside an entry
    EXPECT_TRUE(IsInBlackList(entries, "Smooth Jazz 24"));
    EXPECT_FALSE(IsInBlackList(entries, "rock fm"));      // case matters
    EXPECT_FALSE(IsInBlackList(entries, ""));             // empty title matches nothing
    EXPECT_FALSE(IsInBlackList(entries, "Classic"));      // empty entry matches nothing
    EXPECT_FALSE(IsInBlackList({}, "Anything"));
}

TEST(UpdateFilter, BitRateBoundsAreStrict) {
    BitRateWindow higher{true, 4, false, 0};  // above 64
    EXPECT_FALSE(higher.Admits(64));
    EXPECT_FALSE(higher.Admits(32));
    EXPECT_TRUE(higher.Admits(96));
    BitRateWindow lower{false, 0, true, 6};  // below 128
    EXPECT_TRUE(lower.Admits(96));
    EXPECT_FALSE(lower.Admits(128));
    EXPECT_FALSE(lower.Admits(320));
    EXPECT_TRUE(lower.Admits(0));
    BitRateWindow both{true, 0, true, 0};  // 16 < rate < 16: nothing passes
    EXPECT_FALSE(both.Admits(16));
    EXPECT_FALSE(both.Admits(0));
    BitRateWindow withZeroLower{false, 0, true, 0};
    EXPECT_TRUE(withZeroLower.Admits(0));
    EXPECT_FALSE((BitRateWindow{true, 0, false, 0}.Admits(0)));  // 0 kbit/s fails any lower bound
    EXPECT_TRUE(BitRateWindow{}.Admits(0));
    // Positions outside the list are taken as its nearest end.
    EXPECT_EQ(BitRateStep(-3), 16);
    EXPECT_EQ(BitRateStep(42), 256);

    EXPECT_FALSE(IsUpdateCompatible(higher, {"Radio"}, 128, "My Radio"));
    EXPECT_TRUE(IsUpdateCompatible(higher, {"Radio"}, 128, "My Station"));
}

}  // namespace
}  // namespace wt
