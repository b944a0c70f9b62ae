// The station catalogue "data.db" and the queries the program runs on it.
#include <gtest/gtest.h>

#include "TempFolder.h"
#include "catalogue/StationCatalogue.h"

namespace wt {
namespace {

using testing::TempFolder;

TEST(StationCatalogue, FirstStartCreatesAnEmptyCatalogue) {
    TempFolder dir;
    StationCatalogue cat(dir.Path());
    int shown = -1;
    cat.SetAfterChange([&](TzDataset& ds) { shown = ds.RecordCount(); });
    cat.Open();
    EXPECT_EQ(std::filesystem::file_size(dir.File("data.db")), 229u);
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(cat.NextStationID(), 1);
    EXPECT_EQ(cat.AddStation({0, "Rock", "R", 128, "http://r/"}), 1);
    EXPECT_EQ(shown, 1);
    cat.DeleteCurrentStation();
    EXPECT_EQ(shown, 0);
}

TEST(StationCatalogue, NewStationTakesLargestIdPlusOneAndGoesLast) {
    TempFolder dir;
    StationCatalogue cat(dir.Path());
    cat.Open();
    // 150 stations whose largest ID is 180, added out of order.
    for (int i = 1; i <= 150; ++i) {
        int id = i == 75 ? 180 : i;
        cat.Dataset().AddRecord();
        WriteStation(cat.Fields(), {id, "G", "T" + std::to_string(id), 1, "u" + std::to_string(id)});
        cat.Dataset().Post();
    }
    EXPECT_EQ(cat.StationCount(), 150);
    EXPECT_EQ(cat.NextStationID(), 181);
    EXPECT_TRUE(cat.Dataset().Eof());
    EXPECT_EQ(cat.AddStation({0, "G", "new", 1, "n"}), 181);
    EXPECT_EQ(cat.Dataset().RecNo(), 151);
    EXPECT_EQ(cat.NextStationID(), 182);
    // Deleting the largest does not make its ID come back while a larger one exists,
    // and an edit that lowers an ID is seen by the next walk.
    cat.DataSetGoto(181);
    cat.DeleteCurrentStation();
    EXPECT_EQ(cat.NextStationID(), 181);
    cat.DataSetGoto(180);
    cat.Dataset().Edit();
    cat.DBID().SetAsInteger(151);
    cat.Dataset().Post();
    EXPECT_EQ(cat.NextStationID(), 152);
}

TEST(StationCatalogue, QueriesByGenreIdAndUrl) {
    TempFolder dir;
    StationCatalogue cat(dir.Path());
    cat.Open();
    cat.AddStation({0, "Rock", "R1", 128, "http://r1/"});
    cat.AddStation({0, "pop", "P1", 0, "http://p1/"});
    cat.AddStation({0, "Rock", "R2", 64, "http://r2/"});
    cat.AddStation({0, "rock", "r3", 64, "http://r3/"});
    cat.AddStation({0, "Ambient", "A", 64, "http://a/"});

    auto rock = cat.StationsOfGenre("Rock");
    ASSERT_EQ(rock.size(), 2u);
    EXPECT_EQ(rock[1].Title, "R2");
    EXPECT_TRUE(cat.GenreExists("rock"));
    EXPECT_FALSE(cat.GenreExists("ROCK"));
    EXPECT_EQ(cat.Genres(), (std::vector<std::string>{"Ambient", "pop", "Rock"}));

    EXPECT_TRUE(cat.DataSetGoto(2));
    EXPECT_EQ(cat.DBBitRate().AsString(), "");  // bit rate 0 shows empty
    EXPECT_EQ(cat.CurrentStation().URL, "http://p1/");
    EXPECT_FALSE(cat.DataSetGoto(99));
    EXPECT_TRUE(cat.Dataset().Eof());

    EXPECT_TRUE(cat.FindStationByURL("http://r2/"));
    EXPECT_EQ(cat.DBID().AsInteger(), 3);
    EXPECT_FALSE(cat.FindStationByURL("HTTP://R2/"));
}

TEST(StationCatalogue, LongTitleIsStoredAsItsFirst200Characters) {
    TempFolder dir;
    StationCatalogue cat(dir.Path());
    cat.Open();
    cat.AddStation({0, "G", std::string(250, 't'), 1, "u"});
    cat.Close();
    cat.Open();
    EXPECT_EQ(cat.DBTitle().AsString(), std::string(200, 't'));
}

TEST(StationCatalogue, UpdateDataSetReadsAnyCatalogueInFileOrder) {
    TempFolder dir;
    {
        StationCatalogue cat(dir.Path(), "upd.db");
        cat.Open();
        cat.AddStation({0, "G", "one", 1, "u1"});
        cat.AddStation({0, "G", "two", 1, "u2"});
    }
    TzDataset zUpdate("zUpdate");
    StationFields u = DeclareStationFields(zUpdate);
    zUpdate.SetFileName(dir.File("upd.db"));
    zUpdate.Open();
    std::vector<std::string> titles;
    for (; !zUpdate.Eof(); zUpdate.Next()) titles.push_back(u.Title->AsString());
    EXPECT_EQ(titles, (std::vector<std::string>{"one", "two"}));
}

}  // namespace
}  // namespace wt
