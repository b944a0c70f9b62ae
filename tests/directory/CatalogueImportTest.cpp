#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "DirectoryFixtures.h"
#include "TempFolder.h"
#include "catalogue/StationCatalogue.h"
#include "directory/CatalogueImport.h"
#include "directory/StationJson.h"
#include "directory/StationListImport.h"

namespace wt {
namespace {

std::vector<StationRecord> AllStations(StationCatalogue& catalogue) {
    std::vector<StationRecord> all;
    catalogue.ForEachStation([&](const StationRecord& s) { all.push_back(s); });
    return all;
}

class CatalogueImport : public ::testing::Test {
protected:
    CatalogueImport() : catalogue(folder.Path()) { catalogue.Open(); }
    testing::TempFolder folder;
    StationCatalogue catalogue;
};

TEST_F(CatalogueImport, ExportOfOddStationsAddsWhatCanBeRecordedAndCountsEveryRefusal) {
    catalogue.AddStation({0, "Old", "Already here", 128, "http://127.0.0.1:8000/acao"});
    const ImportSummary s =
        ImportStationListFile(catalogue, testing::FixturePath("stations.json"), "", {});
    EXPECT_EQ(s.offered, 11);
    EXPECT_EQ(s.added, 6);
    EXPECT_EQ(s.known, 2);  // the mirror of Jazz Lounge and the station already in the catalogue
    EXPECT_EQ(s.blacklisted, 0);
    EXPECT_EQ(s.refused, 3);
    EXPECT_EQ(s.hls, 1);
    EXPECT_EQ(s.urlTooLong, 1);
    EXPECT_EQ(s.notStream, 1);
    EXPECT_EQ(s.bitRateUnknown, 2);
    ASSERT_EQ(s.refusals.size(), 3u);
    EXPECT_EQ(s.refusals[0], "\"Long Address\": its stream address has 254 characters; the catalogue holds at most 200.");
    EXPECT_EQ(s.refusals[1], "\"HLS News\": an HLS stream, which cannot be recorded.");
    EXPECT_EQ(s.refusals[2], "\"Playlist Only\": its address is a playlist, not a stream.");

    struct Expected {
        std::int32_t id;
        const char* genre;
        const char* title;
        std::int16_t bitRate;
        const char* url;
    };
    const Expected expected[] = {
        {1, "Old", "Already here", 128, "http://127.0.0.1:8000/acao"},
        {2, "jazz", "Jazz Lounge", 128, "http://127.0.0.1:8000/jazz"},  // url_resolved, not the .pls
        {3, "rock", "Bogus Rate", 0, "http://127.0.0.1:8000/bogus"},
        {4, "Imported", "Bare Minimum", 0, "http://127.0.0.1:8000/bare"},
        {5, "Imported", "Minus Rate", 0, "http://127.0.0.1:8000/minus"},
        {6, "ambient", "Rate As Text", 192, "http://127.0.0.1:8000/text"},
        {7, "electronic", "Secure AAC+", 48, "https://127.0.0.1:8443/aacp"},
    };
    const auto stations = AllStations(catalogue);
    ASSERT_EQ(stations.size(), std::size(expected));
    for (std::size_t i = 0; i < stations.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(stations[i].ID, expected[i].id);
        EXPECT_EQ(stations[i].Genre, expected[i].genre);
        EXPECT_EQ(stations[i].Title, expected[i].title);
        EXPECT_EQ(stations[i].BitRate, expected[i].bitRate);
        EXPECT_EQ(stations[i].URL, expected[i].url);
    }
    EXPECT_EQ(FormatImportSummary(s),
              "Added 6 of 11 stations.\n"
              "Skipped 2 stations already in the catalogue.\n"
              "Refused 3 stations: 1 HLS stream, 1 with an address over 200 characters, 1 without a stream address.\n"
              "2 stations added with bit rate 0 (unknown): the list's figure was outside 0 to 32767.\n"
              "Refused \"Long Address\": its stream address has 254 characters; the catalogue holds at most 200.\n"
              "Refused \"HLS News\": an HLS stream, which cannot be recorded.\n"
              "Refused \"Playlist Only\": its address is a playlist, not a stream.");

    // Importing again adds nothing: every URL is known now.
    const ImportSummary again = ImportStationListFile(catalogue, testing::FixturePath("stations.json"), "", {});
    EXPECT_EQ(again.added, 0);
    EXPECT_EQ(again.known, 8);
}

TEST_F(CatalogueImport, GivenGenreAndBlacklistApplyAsInAnUpdate) {
    const auto stations = ParseStationJson(testing::FixtureText("stations.json"));
    // The entry "Jazz" occurs in both Jazz Lounge titles; the title "Minus Rate" occurs in the
    // entry "Minus Rate here". "bogus" blocks nothing: the test is case-sensitive.
    const ImportSummary s =
        AddStationsToCatalogue(catalogue, stations, "My Finds", {"Jazz", "Minus Rate here", "bogus"});
    EXPECT_EQ(s.blacklisted, 3);
    EXPECT_EQ(s.added, 5);
    for (const auto& station : AllStations(catalogue)) EXPECT_EQ(station.Genre, "My Finds");
}

TEST(CatalogueImportChecks, RefusalsAndBitRates) {
    struct Case {
        DirectoryStation station;
        StationRefusal refusal;
    };
    const std::string longUrl = "http://127.0.0.1/" + std::string(184, 'a');  // 201 characters
    const auto station = [](const char* name, std::string url, const char* resolved = "", bool hls = false) {
        DirectoryStation s;
        s.name = name;
        s.url = std::move(url);
        s.urlResolved = resolved;
        s.hls = hls;
        return s;
    };
    const Case cases[] = {
        {station("none", ""), StationRefusal::NoAddress},
        {station("file", "file:///etc/passwd"), StationRefusal::NotHttp},
        {station("rel", "music/song.mp3"), StationRefusal::NotHttp},
        {station("flag", "http://h/live", "", true), StationRefusal::Hls},
        {station("m3u8", "http://h/x.pls", "http://h/Index.M3U8?token=1"), StationRefusal::Hls},
        {station("pls", "http://h/list.PLS"), StationRefusal::Playlist},
        {station("m3u", "http://h/list.m3u#x"), StationRefusal::Playlist},
        {station("long", longUrl), StationRefusal::UrlTooLong},
        {station("just fits", longUrl.substr(0, 200)), StationRefusal::None},
        {station("resolved", "http://h/list.pls", "http://h/stream"), StationRefusal::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.station.name);
        EXPECT_EQ(CheckStation(c.station), c.refusal);
    }
    EXPECT_EQ(CatalogueBitRate(32767), 32767);
    EXPECT_EQ(CatalogueBitRate(32768), 0);
    EXPECT_EQ(CatalogueBitRate(34400400), 0);
    EXPECT_EQ(CatalogueBitRate(-1), 0);
    EXPECT_EQ(CatalogueBitRate(0), 0);
}

TEST_F(CatalogueImport, BrokenOrMissingFilesChangeNothing) {
    const std::string cut = folder.File("cut.json");
    std::ofstream(cut) << "[{\"name\": \"A\", \"url\": \"http://127.0.0.1/a\"},";
    const std::string words = folder.File("notes.txt");
    std::ofstream(words) << "hello";
    for (const std::string& path : {cut, words, folder.File("missing.m3u"), folder.Path()}) {
        SCOPED_TRACE(path);
        EXPECT_THROW(ImportStationListFile(catalogue, path, "", {}), DirectoryError);
    }
    EXPECT_EQ(catalogue.StationCount(), 0);
}

TEST_F(CatalogueImport, EachPlaylistKindImports) {
    struct Case {
        const char* name;
        const char* content;
    };
    const Case cases[] = {
        {"a.m3u", "#EXTM3U\n#EXTINF:-1,One\nhttp://127.0.0.1/one\n#EXTINF:-1,Two\nhttp://127.0.0.1/two.m3u8\n"},
        {"b.pls", "[playlist]\nFile1=http://127.0.0.1/three\nTitle1=Three\nFile2=ftp://127.0.0.1/x\n"},
        {"c.xspf", "<playlist><trackList><track><location>http://127.0.0.1/four</location>"
                   "<title>Four</title></track></trackList></playlist>"},
    };
    for (const Case& c : cases) {
        std::ofstream(folder.File(c.name)) << c.content;
        const ImportSummary s = ImportStationListFile(catalogue, folder.File(c.name), "Lists", {});
        EXPECT_EQ(s.added, 1) << c.name;
        EXPECT_EQ(s.refused, s.offered - 1) << c.name;
    }
    std::vector<std::string> titles;
    for (const auto& station : AllStations(catalogue)) titles.push_back(station.Title);
    EXPECT_EQ(titles, (std::vector<std::string>{"One", "Three", "Four"}));
}

}  // namespace
}  // namespace wt
