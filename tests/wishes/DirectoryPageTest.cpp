#include "wishes/DirectoryPage.h"

#include <gtest/gtest.h>

#include "DirectoryTestServer.h"

namespace wt {
namespace {

using test::DirectoryTestServer;

constexpr const char* kRoot = "http://dir.test/";

struct RecordingResolver {
    std::vector<std::string> asked;
    PlaylistResolver Fn() {
        return [this](const std::string& url) {
            asked.push_back(url);
            return "stream:" + std::to_string(asked.size());
        };
    }
};

DirectoryTestServer::Station MakeStation(std::string name, std::string genre, std::string song) {
    return {std::move(name), std::move(genre), std::move(song), "", std::nullopt};
}

TEST(ParseDirectoryPage, TwoEntriesGiveTwoHitsInPageOrder) {
    const std::string page = "<html><body>\r\n" +
                             DirectoryTestServer::EntryHtml(7, MakeStation("Rock One", "Rock", "THE BEATLES - HELP")) +
                             DirectoryTestServer::EntryHtml(9, MakeStation("Jazz Two", "Jazz", "Miles - So What")) +
                             "</body></html>";
    RecordingResolver resolver;
    const TNetWishLists hits = ParseDirectoryPage(page, kRoot, resolver.Fn());

    ASSERT_EQ(hits.Count(), 2);
    EXPECT_EQ(hits.Items(0).Station, "Rock One");
    EXPECT_EQ(hits.Items(0).Genre, "Rock");
    EXPECT_EQ(hits.Items(0).NowPlaying, "THE BEATLES - HELP");
    EXPECT_EQ(hits.Items(0).URL, "stream:1");
    EXPECT_EQ(hits.Items(1).Station, "Jazz Two");
    EXPECT_EQ(hits.Items(1).NowPlaying, "Miles - So What");
    EXPECT_EQ(hits.Items(1).URL, "stream:2");
    // The root ends in "/" and the link starts with one: the path starts with two slashes and
    // the query is passed on unchanged.
    EXPECT_EQ(resolver.asked, (std::vector<std::string>{
                                  "http://dir.test//sbin/shoutcast-playlist.pls?rn=7&file=filename.pls",
                                  "http://dir.test//sbin/shoutcast-playlist.pls?rn=9&file=filename.pls"}));
}

TEST(ParseDirectoryPage, IncompleteAndOddPages) {
    const std::string entry = DirectoryTestServer::EntryHtml(1, MakeStation("Name", "Genre", "Song"));
    struct Case {
        const char* what;
        std::string page;
        int hits;
        int resolved;
    };
    const Case cases[] = {
        {"no playlist marker", "<html>no stations found</html>", 0, 0},
        {"empty page", "", 0, 0},
        {"cut right after the next playlist marker", entry + "<a href=\"/sbin/shoutcast-playlist.pls?", 1, 1},
        {"cut inside the next tunein marker", entry + "<a href=\"/sbin/shoutcast-playlist.pls?rn=2\"><img sr", 1, 1},
        {"link without any other field", "/sbin/shoutcast-playlist.pls?rn=3\"><img src=\"/images/tunein.gif\"", 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingResolver resolver;
        const TNetWishLists hits = ParseDirectoryPage(c.page, kRoot, resolver.Fn());
        EXPECT_EQ(hits.Count(), c.hits);
        EXPECT_EQ(static_cast<int>(resolver.asked.size()), c.resolved);
    }
    RecordingResolver resolver;
    const TNetWishLists bare = ParseDirectoryPage(cases[4].page, kRoot, resolver.Fn());
    EXPECT_EQ(bare.Items(0).Station, "");
    EXPECT_EQ(bare.Items(0).NowPlaying, "");
    EXPECT_EQ(bare.Items(0).Genre, "");
}

TEST(ParseDirectoryPage, MarkersAreTakenFromTheFrontOfWhatIsLeft) {
    // A genre marker in the page head is taken for the first entry; the rest of that entry,
    // up to its station link, is then dropped with its own genre.
    const std::string page = "<b>[Head]</font></b>" +
                             DirectoryTestServer::EntryHtml(1, MakeStation("A", "GenreA", "Song A")) +
                             DirectoryTestServer::EntryHtml(2, MakeStation("B", "GenreB", "Song B"));
    const TNetWishLists hits = ParseDirectoryPage(page, kRoot, {});
    ASSERT_EQ(hits.Count(), 2);
    EXPECT_EQ(hits.Items(0).Genre, "Head");
    EXPECT_EQ(hits.Items(1).Genre, "GenreB");
    EXPECT_EQ(hits.Items(0).Station, "A");
    EXPECT_EQ(hits.Items(1).NowPlaying, "Song B");
}

TEST(ParseDirectoryPage, APageOfEndlessEntriesIsCutAtTheHitLimit) {
    std::string page;
    for (int i = 0; i < kMaxHitsPerPage + 500; ++i)
        page += "/sbin/shoutcast-playlist.pls?\"><img src=\"/images/tunein.gif\"";
    RecordingResolver resolver;
    EXPECT_EQ(ParseDirectoryPage(page, kRoot, resolver.Fn()).Count(), kMaxHitsPerPage);
    EXPECT_EQ(static_cast<int>(resolver.asked.size()), kMaxHitsPerPage);
}

TEST(ParseDirectoryPage, SingleByteTextBecomesUtf8) {
    const std::string page = DirectoryTestServer::EntryHtml(1, MakeStation("Caf\xE9 FM", "Chanson", "Beyonc\xE9 - Halo"));
    const TNetWishLists hits = ParseDirectoryPage(page, kRoot, {});
    ASSERT_EQ(hits.Count(), 1);
    EXPECT_EQ(hits.Items(0).Station, "Caf\xC3\xA9 FM");
    EXPECT_EQ(hits.Items(0).NowPlaying, "Beyonc\xC3\xA9 - Halo");
}

}  // namespace
}  // namespace wt
