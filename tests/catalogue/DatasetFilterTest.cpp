// Filtering: which records a filter lets through, and the refusal texts of its language.
#include <gtest/gtest.h>

#include "TempFolder.h"
#include "catalogue/StationCatalogue.h"
#include "catalogue/zDataset.h"

namespace wt {
namespace {

using testing::TempFolder;

struct Filtered : ::testing::Test {
    void SetUp() override {
        ds.SetFileName(dir.File("f.db"));
        f = DeclareStationFields(ds);
        ds.Open();
        const StationRecord rows[] = {{1, "Rock", "Alpha", 128, "u1"},
                                      {2, "Pop", "Beta One", 64, "u2"},
                                      {3, "rock", "Gamma", 0, "u3"},
                                      {4, "Jazz", "Alphorn", 192, "u4"}};
        for (const auto& r : rows) {
            ds.Append();
            WriteStation(f, r);
            ds.Post();
        }
    }
    std::vector<int> Visible(const std::string& filter) {
        ds.SetFilter(filter);
        ds.SetFiltered(true);
        std::vector<int> ids;
        for (ds.First(); !ds.Eof(); ds.Next()) ids.push_back(f.ID->AsInteger());
        EXPECT_EQ(ds.RecordCount(), static_cast<std::int32_t>(ids.size())) << filter;
        return ids;
    }
    std::string Refusal(const std::string& filter) {
        try {
            ds.SetFilter(filter);
        } catch (const EzDatasetError& e) {
            return e.what();
        }
        return "accepted";
    }
    TempFolder dir;
    TzDataset ds;
    StationFields f;
};

TEST_F(Filtered, ConditionsSelectRecords) {
    struct Case {
        const char* filter;
        std::vector<int> ids;
    } cases[] = {
        {"Genre = 'ROCK'", {1, 3}},
        {"genre='rock' and bitrate>0", {1}},
        {"BitRate >= 128 or ID = 2", {1, 2, 4}},
        {"not Genre = 'rock'", {2, 4}},
        {"Title = 'alph*'", {1, 4}},
        {"Title = 'beta one'", {2}},
        {"ID<>2 and not BitRate<100", {1, 4}},
        {"ID > 1 and ID < 4 or ID = 1", {1, 2, 3}},  // left to right, no precedence
    };
    for (const auto& c : cases) EXPECT_EQ(Visible(c.filter), c.ids) << c.filter;
    ds.SetFiltered(false);
    EXPECT_EQ(ds.RecordCount(), 4);
}

TEST_F(Filtered, OnFilterRecordAndFilterBothApply) {
    ds.OnFilterRecord = [this](TzDataset&, bool& accept) { accept = f.ID->AsInteger() != 1; };
    EXPECT_EQ(Visible("genre = 'rock'"), (std::vector<int>{3}));
}

TEST_F(Filtered, BadFiltersAreRefusedWithTheirTexts) {
    EXPECT_EQ(Refusal("ID =< 2"), "ERROR filter operator\n\r=<");
    EXPECT_EQ(Refusal("Title = 'open"), "Missing end of string:\rtitle = 'open");
    EXPECT_EQ(Refusal("ID = 1 and"), "ERROR filter sintax.\n\rYou Can't finish filter string by 'and'.");
    EXPECT_EQ(Refusal("Colour = 'red'"), "colour = 'red'\n\rERROR filter string\n\rCan't find field - colour");
    EXPECT_EQ(Refusal("ID = abc"), "ERROR assign value\n\rabc");
    EXPECT_EQ(ds.Filter(), "");
}

TEST_F(Filtered, ChangesRaiseOnFilterChange) {
    int changes = 0;
    ds.OnFilterChange = [&](TzDataset&) { ++changes; };
    ds.SetFilter("ID = 2");
    ds.SetFiltered(true);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(f.ID->AsInteger(), 2);
}

}  // namespace
}  // namespace wt
