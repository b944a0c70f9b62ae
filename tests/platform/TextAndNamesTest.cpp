#include "platform/FileNames.h"
#include "platform/StringList.h"
#include "platform/TextEncoding.h"

#include <gtest/gtest.h>

namespace wt {
namespace {

TEST(TextEncoding, KeepsUtf8AndConvertsWindows1252) {
    EXPECT_EQ(DecodeText("Caf\xC3\xA9"), "Caf\xC3\xA9");
    EXPECT_EQ(DecodeText("Caf\xE9 \x80"), "Caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // a UTF-16 surrogate
    EXPECT_EQ(TruncateUtf8("a\xC3\xA9", 2), "a");
    EXPECT_EQ(TruncateUtf8("abc", 5), "abc");
}

TEST(FileNames, SanitisesNamesFromTheNetwork) {
    struct Case { const char* in; const char* suffix; std::string out; };
    const Case cases[] = {
        {"AC/DC - T.N.T.", ".mp3", "AC_DC - T.N.T..mp3"},
        {"a\\b:c*d?e\"f<g>h|i", ".mp3", "a_b_c_d_e_f_g_h_i.mp3"},
        {"..", "", "__"},
        {".", "", "_"},
        {"", "", "_"},
        {"", ".mp3", ".mp3"},
        {"tab\there", "", "tab_here"},
    };
    for (const auto& c : cases) EXPECT_EQ(SanitizeFileName(c.in, c.suffix), c.out) << c.in;

    std::string longTitle(300, 'x');
    longTitle += "\xC3\xA9";
    std::string name = SanitizeFileName(longTitle, ".mp3");
    EXPECT_EQ(name.size(), kMaxFileNameBytes);
    EXPECT_EQ(name.substr(name.size() - 4), ".mp3");
    std::string accents;
    for (int i = 0; i < 200; ++i) accents += "\xC3\xA9";
    name = SanitizeFileName(accents, ".mp3");
    EXPECT_LE(name.size(), kMaxFileNameBytes);
    EXPECT_TRUE(IsValidUtf8(name));
}

TEST(StringList, SplitsAnyLineEndAndJoinsWithCrLf) {
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_TRUE(SplitLines("").empty());
    EXPECT_EQ(JoinLinesCrLf({"x", "y"}), "x\r\ny\r\n");
    EXPECT_TRUE(EqualsIgnoreCase("Rock", "rOCK"));
    EXPECT_FALSE(EqualsIgnoreCase("\xC3\x89", "\xC3\xA9"));  // only A..Z fold
    EXPECT_LT(CompareIgnoreCase("abc", "ABD"), 0);
    EXPECT_TRUE(ContainsIgnoreCase("THE BEATLES - HELP", "beatles"));
}

}  // namespace
TEST(StringList, TrimTakesOnlyTheGivenBlanksFromBothEnds) {
    struct Case {
        std::string_view text, blanks, trimmed;
    };
    const Case cases[] = {
        {" \tName: value \r\n", " \t\r\n", "Name: value"},
        {"\r\n", " \t\r\n", ""},
        {"", " ", ""},
        {"  12\t", " ", "12\t"},  // a tab is not a blank where only spaces are
        {"a b", " ", "a b"},
    };
    for (const Case& c : cases) EXPECT_EQ(Trim(c.text, c.blanks), c.trimmed) << c.text;
    EXPECT_EQ(Trim("\t x \n"), "x");
}

}  // namespace wt
