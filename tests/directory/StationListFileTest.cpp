#include <gtest/gtest.h>

#include <string>

#include "DirectoryFixtures.h"
#include "directory/StationListFile.h"

namespace wt {
namespace {

TEST(StationListFile, KindComesFromTheContentBeforeTheExtension) {
    struct Case {
        std::string content;
        const char* fileName;
        StationListKind kind;
    };
    const Case cases[] = {
        {"#EXTM3U\n#EXTINF:-1,A\nhttp://a/\n", "list.pls", StationListKind::M3u},
        {"\xEF\xBB\xBF  \r\n[Playlist]\nFile1=http://a/\n", "list.m3u", StationListKind::Pls},
        {"<?xml version=\"1.0\"?>\n<playlist version=\"1\" xmlns=\"http://xspf.org/ns/0/\">", "x.json", StationListKind::Xspf},
        {"[{\"name\": \"a\"}]", "export.m3u", StationListKind::Json},
        {"{\"stations\": []}", "", StationListKind::Json},
        {"ID,Genre,Title,BitRate,URL\r\n", "a.txt", StationListKind::Csv},
        {"http://a/stream\nhttp://b/stream\n", "list.txt", StationListKind::M3u},
        {"", "list.M3U8", StationListKind::M3u},
        {"something else", "list.xspf", StationListKind::Xspf},
        {"something else", "list.doc", StationListKind::Unknown},
        {"\x89PNG\r\n", "", StationListKind::Unknown},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content + " / " + c.fileName);
        EXPECT_EQ(DetectStationListKind(c.content, c.fileName), c.kind);
    }
}

TEST(StationListFile, ExtendedM3uTakesTitlesFromExtinf) {
    const auto stations = ParseM3u(
        "\xEF\xBB\xBF#EXTM3U\r\n"
        "#EXTINF:-1 tvg-name=\"a,b\" group-title=\"Pop\",Hits, Hits \xe9t\xe9\r\n"
        "http://127.0.0.1/hits\r\n"
        "# a comment\r\n"
        "\r\n"
        "http://127.0.0.1/untitled\r\n"
        "#EXTINF:5,\n"
        "relative/file.mp3\n"
        "#EXTINF:-1,Dangling title with no address\n");
    ASSERT_EQ(stations.size(), 3u);
    EXPECT_EQ(stations[0].name, "Hits, Hits \u00e9t\u00e9");  // the title may hold commas; cp1252 read as such
    EXPECT_EQ(stations[0].url, "http://127.0.0.1/hits");
    EXPECT_EQ(stations[1].name, "http://127.0.0.1/untitled");  // no #EXTINF: the address names it
    EXPECT_EQ(stations[2].url, "relative/file.mp3");           // kept here; the import refuses it
}

TEST(StationListFile, PlsEntriesInNumberOrderWithTheirTitles) {
    const auto stations = ParsePls(
        "[other]\nFile1=http://not/this\n"
        "[playlist]\r\n; comment\r\nNumberOfEntries=3\r\n"
        "File2=http://127.0.0.1/two\r\nTitle2=\"Second\"\r\n"
        "file1 = http://127.0.0.1/one \r\nTITLE1=First\r\nTitle1=Ignored repeat\r\n"
        "Title3=Only a title\r\nFileX=http://bad/key\r\nFile99999999999=http://too/long/key\r\n");
    ASSERT_EQ(stations.size(), 2u);
    EXPECT_EQ(stations[0].url, "http://127.0.0.1/one");
    EXPECT_EQ(stations[0].name, "First");
    EXPECT_EQ(stations[1].url, "http://127.0.0.1/two");
    EXPECT_EQ(stations[1].name, "Second");
}

TEST(StationListFile, XspfTracksWithEntitiesAndCdata) {
    const auto stations = ParseXspf(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<playlist version=\"1\" xmlns=\"http://xspf.org/ns/0/\"><title>Mine</title>\n<trackList>\n"
        "  <track><location>http://127.0.0.1/a?x=1&amp;y=2</location><title>Rock &amp; Roll &#x263A; &#233;</title></track>\n"
        "  <track>\n <title/>\n <creator><![CDATA[Tom & <Jerry>]]></creator>\n <location> http://127.0.0.1/b </location></track>\n"
        "  <track><title>No location</title></track>\n"
        "  <track><location>http://127.0.0.1/c</location><title>&bogus; &#xZZ; &#0;</title></track>\n"
        "  <track><location>http://127.0.0.1/cut");
    ASSERT_EQ(stations.size(), 3u);
    EXPECT_EQ(stations[0].url, "http://127.0.0.1/a?x=1&y=2");
    EXPECT_EQ(stations[0].name, "Rock & Roll \u263a \u00e9");
    EXPECT_EQ(stations[1].url, "http://127.0.0.1/b");
    EXPECT_EQ(stations[1].name, "Tom & <Jerry>");
    EXPECT_EQ(stations[2].name, "&bogus; &#xZZ;");
}

TEST(StationListFile, ReadStationListRefusesWhatIsNoList) {
    EXPECT_EQ(ReadStationList(testing::FixtureText("stations.json"), "stations.json").size(), 11u);
    EXPECT_THROW(ReadStationList("ID,Genre,Title,BitRate,URL\r\n", "a.csv"), DirectoryError);
    EXPECT_THROW(ReadStationList("just words", "notes.txt"), DirectoryError);
    EXPECT_THROW(ReadStationList("[{\"name\": ", "cut.json"), DirectoryError);
}

}  // namespace
}  // namespace wt
