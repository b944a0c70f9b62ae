// Reading the directory listing: its fields, odd data, and which entries are hits.
#include <gtest/gtest.h>

#include "ListingFixtures.h"
#include "wishes/DirectoryListing.h"
#include "wishes/ListingSource.h"

namespace wt {
namespace {

using test::ListingEntryXml;
using test::ListingXml;

TEST(DirectoryListing, ReadsEveryEntrysFieldsWithOddDataResolved) {
    const std::string xml = ListingXml(
        ListingEntryXml("Rock &amp; Roll &lt;FM&gt;", "http://a.test:8000/live", "audio/mpeg", "rock",
                        "AC&#47;DC &#8211; Back in Black") +
        // Missing fields stay empty; a self-closed field is empty too.
        "<entry><server_name>Bare</server_name><current_song/></entry>\n" +
        // Non-ASCII in UTF-8, a supplementary character, CDATA and a comment inside the entry.
        "<entry>\n <server_name>Caf\xC3\xA9 M\xC3\xBCsik &#x1F3B5;</server_name>\n"
        " <!-- <current_song>not this</current_song> -->\n"
        " <current_song><![CDATA[Sigur R\xC3\xB3s & <friends>]]></current_song>\n"
        " <extra><nested>kept out</nested></extra>\n"
        " <listen_url>\n   http://b.test/x.aac  \n </listen_url>\n</entry>\n" +
        // Windows-1252 bytes, as some servers send them, and unknown or broken references.
        "<entry><server_name>Radio Caf\xE9</server_name><current_song>&bogus; &#xZZ; a & b</current_song></entry>\n");
    const auto entries = ParseDirectoryListing(xml);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].serverName, "Rock & Roll <FM>");
    EXPECT_EQ(entries[0].listenUrl, "http://a.test:8000/live");
    EXPECT_EQ(entries[0].serverType, "audio/mpeg");
    EXPECT_EQ(entries[0].genre, "rock");
    EXPECT_EQ(entries[0].bitrate, "128");
    EXPECT_EQ(entries[0].currentSong, "AC/DC \xE2\x80\x93 Back in Black");
    EXPECT_EQ(entries[1].serverName, "Bare");
    EXPECT_EQ(entries[1].listenUrl, "");
    EXPECT_EQ(entries[1].currentSong, "");
    EXPECT_EQ(entries[2].serverName, "Caf\xC3\xA9 M\xC3\xBCsik \xF0\x9F\x8E\xB5");
    EXPECT_EQ(entries[2].currentSong, "Sigur R\xC3\xB3s & <friends>");
    EXPECT_EQ(entries[2].listenUrl, "http://b.test/x.aac");
    EXPECT_EQ(entries[3].serverName, "Radio Caf\xC3\xA9");
    EXPECT_EQ(entries[3].currentSong, "&bogus; &#xZZ; a & b");
}

TEST(DirectoryListing, ACutListingKeepsTheEntriesThatWereComplete) {
    const std::string whole = ListingXml(ListingEntryXml("One", "http://a.test/1", "audio/mpeg", "", "x") +
                                         ListingEntryXml("Two", "http://a.test/2", "audio/mpeg", "", "y"));
    const std::size_t second = whole.find("<entry>", whole.find("</entry>"));
    for (std::size_t cut : {second + 3, second + 40, whole.find("</entry>", second) + 2}) {
        const auto entries = ParseDirectoryListing(std::string_view(whole).substr(0, cut));
        ASSERT_EQ(entries.size(), 1u) << "cut at " << cut;
        EXPECT_EQ(entries[0].serverName, "One");
    }
    EXPECT_TRUE(ParseDirectoryListing("").empty());
    EXPECT_TRUE(ParseDirectoryListing("<html><body>Not found</body></html>").empty());
}

TEST(DirectoryListing, OnlyStreamsWeCanRipWithWebAddressesAreHits) {
    const std::string xml = ListingXml(
        ListingEntryXml("Mp3", "http://a.test/1", "audio/mpeg", "pop", "Song A") +
        ListingEntryXml("Aac", "https://a.test/2", "audio/aacp", "jazz", "Song B") +
        ListingEntryXml("Ogg", "http://a.test/3", "application/ogg", "", "Song C") +
        ListingEntryXml("Video", "http://a.test/4", "video/webm", "", "Song D") +
        ListingEntryXml("No type", "http://a.test/5", nullptr, "", "Song E") +
        ListingEntryXml("Not web", "rtsp://a.test/6", "audio/mpeg", "", "Song F") +
        ListingEntryXml("No address", nullptr, "audio/mpeg", "", "Song G"));
    const auto hits = RippableListingHits(xml);
    ASSERT_EQ(hits.size(), 3u);
    EXPECT_EQ(hits[0].URL, "http://a.test/1");
    EXPECT_EQ(hits[0].NowPlaying, "Song A");
    EXPECT_EQ(hits[0].Genre, "pop");
    EXPECT_EQ(hits[0].Station, "Mp3");
    EXPECT_EQ(hits[1].Station, "Aac");
    EXPECT_EQ(hits[2].Station, "Ogg");
}

TEST(DirectoryListing, ServerTypesWeCanRip) {
    const std::pair<const char*, bool> cases[] = {
        {"audio/mpeg", true},       {"AUDIO/MPEG", true},  {"audio/mpeg; charset=x", true},
        {"audio/aac", true},        {"audio/aacp", true},  {"audio/x-aac", true},
        {"application/ogg", true},  {"audio/ogg", true},   {"audio/opus", true},  {"audio/flac", false},
        {"video/mp4", false},       {"", false},           {"audio/mpegurl", false},
    };
    for (const auto& [type, rippable] : cases) EXPECT_EQ(CanRipServerType(type), rippable) << type;
}

}  // namespace
}  // namespace wt
