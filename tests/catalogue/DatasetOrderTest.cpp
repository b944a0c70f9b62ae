// Keeping the file in IndexFields order: placing posted records, MoveRecord, sorting and the
// bookmarks that follow their records.
#include <gtest/gtest.h>

#include "TempFolder.h"
#include "catalogue/StationCatalogue.h"
#include "catalogue/zDataset.h"

namespace wt {
namespace {

using testing::TempFolder;

struct Ordered {
    explicit Ordered(const TempFolder& dir) {
        ds.SetFileName(dir.File("o.db"));
        f = DeclareStationFields(ds);
        ds.Open();
    }
    void Append(int id, const std::string& title = "") {
        ds.Append();
        WriteStation(f, {id, "G", title.empty() ? "t" + std::to_string(id) : title, 0, "u"});
        ds.Post();
    }
    std::vector<std::string> Titles() {
        std::vector<std::string> out;
        for (ds.First(); !ds.Eof(); ds.Next()) out.push_back(f.Title->AsString());
        return out;
    }
    TzDataset ds;
    StationFields f;
};

TEST(DatasetOrder, PostedRecordsTakeTheirPlaceByKey) {
    struct Case {
        int id;
        std::vector<std::string> expected;
    } cases[] = {
        {40, {"t10", "t20", "t20b", "t30", "new"}},  // largest: last
        {20, {"t10", "t20", "t20b", "new", "t30"}},  // equal: after the equal ones
        {5, {"new", "t10", "t20", "t20b", "t30"}},   // smallest: first
        {25, {"t10", "t20", "t20b", "new", "t30"}},
    };
    for (const auto& c : cases) {
        TempFolder dir;
        Ordered o(dir);
        o.Append(10);
        o.Append(20);
        o.Append(20, "t20b");
        o.Append(30);
        o.ds.SetIndexFields("ID");
        o.ds.SetRecNo(2);
        o.ds.AddRecord();  // Insert, as the data set is ordered
        WriteStation(o.f, {c.id, "G", "new", 0, "u"});
        o.ds.Post();
        EXPECT_EQ(o.f.Title->AsString(), "new") << c.id;  // the posted record is current
        EXPECT_EQ(o.Titles(), c.expected) << c.id;
    }
}

TEST(DatasetOrder, EditedKeyMovesTheRecordForwardOrBackward) {
    TempFolder dir;
    Ordered o(dir);
    for (int id : {1, 2, 3, 4}) o.Append(id);
    o.ds.SetIndexFields("ID");
    o.ds.SetRecNo(1);
    o.ds.Edit();
    o.f.ID->SetAsInteger(9);
    o.ds.Post();
    EXPECT_EQ(o.ds.RecNo(), 4);
    o.ds.Edit();
    o.f.ID->SetAsInteger(0);
    o.ds.Post();
    EXPECT_EQ(o.ds.RecNo(), 1);
    EXPECT_EQ(o.Titles(), (std::vector<std::string>{"t1", "t2", "t3", "t4"}));
}

TEST(DatasetOrder, BookmarksFollowTheirRecords) {
    TempFolder dir;
    Ordered o(dir);
    for (int id : {1, 2, 3, 4, 5}) o.Append(id);
    o.ds.SetRecNo(2);
    BookmarkHandle two = o.ds.GetBookmark();
    o.ds.SetRecNo(4);
    BookmarkHandle four = o.ds.GetBookmark();
    o.ds.SetRecNo(5);
    BookmarkHandle five = o.ds.GetBookmark();

    o.ds.MoveRecord(5, 1);  // 5 1 2 3 4
    EXPECT_EQ(o.ds.RecNo(), 1);
    o.ds.GotoBookmark(two);
    EXPECT_EQ(o.f.ID->AsInteger(), 2);
    o.ds.MoveRecord(1, 3);  // 1 2 5 3 4
    o.ds.GotoBookmark(five);
    EXPECT_EQ(o.f.ID->AsInteger(), 5);
    o.ds.SetRecNo(1);
    o.ds.Delete();  // 2 5 3 4
    o.ds.GotoBookmark(four);
    EXPECT_EQ(o.f.ID->AsInteger(), 4);
    o.ds.SetIndexFields("ID");  // sorts: 2 3 4 5
    o.ds.GotoBookmark(five);
    EXPECT_EQ(o.ds.RecNo(), 4);
    o.ds.GotoBookmark(two);
    o.ds.Delete();
    try {
        o.ds.GotoBookmark(two);
        FAIL();
    } catch (const EzDatasetError& e) {
        EXPECT_STREQ(e.what(), "Bookmark -1 not found");
    }
    o.ds.FreeBookmark(two);
    o.ds.FreeBookmark(four);
    o.ds.FreeBookmark(five);
}

TEST(DatasetOrder, SortingHandlesMoreThan65535RecordsAndRewritesTheFile) {
    TempFolder dir;
    {
        Ordered o(dir);
        const int n = 70000;
        for (int i = 0; i < n; ++i) o.Append((i * 7919) % n);  // a permutation of 0..n-1
        o.ds.SetIndexFields("ID");
        EXPECT_EQ(o.ds.RecNo(), 1);
    }
    TzDataset check;
    check.SetFileName(dir.File("o.db"));
    check.Open();
    int expected = 0;
    for (check.First(); !check.Eof(); check.Next()) ASSERT_EQ(check.FieldByName("ID").AsInteger(), expected++);
    EXPECT_EQ(expected, 70000);
}

TEST(DatasetOrder, TextKeysIgnoreCaseButNeverTieDifferentTexts) {
    TempFolder dir;
    Ordered o(dir);
    for (const char* t : {"b", "B", "a", "C", "A"}) o.Append(1, t);
    o.ds.SetIndexFields("Title");
    EXPECT_EQ(o.Titles(), (std::vector<std::string>{"A", "a", "B", "b", "C"}));
    o.ds.SetIndexCaseSensitive(true);
    EXPECT_EQ(o.Titles(), (std::vector<std::string>{"A", "B", "C", "a", "b"}));
    o.ds.OnCompareRecords = [](TzField&, const std::string& x, const std::string& y, int& r) { r = y.compare(x); };
    o.ds.SetIndexFields("Genre;Title");
    EXPECT_EQ(o.Titles(), (std::vector<std::string>{"b", "a", "C", "B", "A"}));
}

TEST(DatasetOrder, UnknownIndexFieldIsRefusedWhenSetAndDroppedWhenOpening) {
    TempFolder dir;
    {
        Ordered o(dir);
        o.Append(2);
        o.Append(1);
        try {
            o.ds.SetIndexFields("ID;Nope");
            FAIL();
        } catch (const EzDatasetError& e) {
            EXPECT_STREQ(e.what(), "ERROR Index field name: Nope");
        }
    }
    TzDataset ds;
    ds.SetFileName(dir.File("o.db"));
    ds.SetIndexFields("Nope");
    ds.Open();
    EXPECT_EQ(ds.IndexFields(), "");
    ds.AddRecord();  // unordered now: Append
    ds.FieldByName("ID").SetAsInteger(0);
    ds.Post();
    EXPECT_EQ(ds.RecNo(), 3);
}

}  // namespace
}  // namespace wt
