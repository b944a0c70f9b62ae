#include <gtest/gtest.h>

#include <chrono>

#include "DirectoryTestServer.h"
#include "platform/Dispatcher.h"
#include "wishes/NetWishObjects.h"
#include "wishes/WishSearches.h"

namespace wt {
namespace {

using test::DirectoryTestServer;

struct Hit {
    std::string wish;
    int passes;
    TWishInfo info;
};

struct SearchFixture : ::testing::Test {
    DirectoryTestServer directory;
    net::HttpClient client;
    QueueDispatcher gui;
    std::vector<Hit> hits;

    WishSearchContext Context(int pauseMs) {
        WishSearchContext c;
        c.client = &client;
        c.dispatcher = &gui;
        c.rootUrl = directory.RootUrl();
        c.pauseMs = pauseMs;
        return c;
    }
    WishFoundEvent Recorder() {
        return [this](TNetWishObject* sender, const TWishInfo& info) {
            hits.push_back({sender->Wish, sender->Passes(), info});
        };
    }
    bool PumpUntil(const std::function<bool()>& pred, int timeoutMs = 10000) {
        return gui.PumpUntil(pred, timeoutMs);
    }
    // Searches are owned here so that they end after the dispatcher has closed, as in the
    // program: a search waiting in a hand-off must not keep its destructor waiting.
    std::vector<std::unique_ptr<TNetWishObject>> searches;
    std::unique_ptr<WishSearches> manager;

    TNetWishObject& Start(const std::string& wish, int pauseMs, bool record = true) {
        searches.push_back(std::make_unique<TNetWishObject>(wish, Context(pauseMs)));
        if (record) searches.back()->OnWishFound = Recorder();
        searches.back()->Resume();
        return *searches.back();
    }
    WishSearches& Manager(int pauseMs) {
        manager = std::make_unique<WishSearches>(Context(pauseMs));
        manager->OnWishFound = Recorder();
        return *manager;
    }
    void TearDown() override {
        gui.Close();
        manager.reset();
        searches.clear();
    }
};

TEST(WishMatches, FoldsOnlyAsciiLettersAndNeverMatchesAnEmptyWish) {
    EXPECT_TRUE(WishMatches("THE BEATLES - HELP", "beatles"));
    EXPECT_TRUE(WishMatches("the beatles - help", "BeAtLeS - h"));
    EXPECT_FALSE(WishMatches("THE BEATLES - HELP", ""));
    EXPECT_FALSE(WishMatches("", ""));
    EXPECT_FALSE(WishMatches("BEATLE", "beatles"));
    EXPECT_FALSE(WishMatches("\xC3\x89T\xC3\x89", "\xC3\xA9t\xC3\xA9"));  // É is not folded
}

TEST_F(SearchFixture, FirstCountedPassOnlyRemembersSongsThenNewMatchesAreReportedEveryPass) {
    const int jazz = directory.AddStation({"Jazz", "Jazz", "Miles - So What", "http://127.0.0.1:9/jazz", std::nullopt});
    TNetWishObject& search = Start("beatles", 5);

    // Pages without stations do not count.
    ASSERT_TRUE(PumpUntil([&] { return directory.Searches().size() >= 3; }));
    EXPECT_EQ(search.Passes(), 0);
    EXPECT_EQ(directory.Searches().front(), "beatles");

    const int beat = directory.AddStation({"Beat One", "Pop", "THE BEATLES - HELP", "http://127.0.0.1:9/beat", std::nullopt});
    ASSERT_TRUE(PumpUntil([&] { return search.Passes() >= 1; }));
    EXPECT_EQ(search.SeenSongs(), std::vector<std::string>{"THE BEATLES - HELP"});

    // A song seen in the first counted pass stays quiet, in any letter case.
    directory.SetNowPlaying(beat, "the Beatles - Help");
    const int passesBefore = search.Passes();
    ASSERT_TRUE(PumpUntil([&] { return search.Passes() >= passesBefore + 3; }));
    EXPECT_TRUE(hits.empty());

    // A station that starts playing a matching song is reported, and again in later passes.
    directory.SetNowPlaying(jazz, "Beatles - Yesterday");
    ASSERT_TRUE(PumpUntil([&] { return hits.size() >= 2; }));
    for (const Hit& h : hits) {
        EXPECT_EQ(h.wish, "beatles");
        EXPECT_EQ(h.info.Station, "Jazz");
        EXPECT_EQ(h.info.NowPlaying, "Beatles - Yesterday");
        EXPECT_EQ(h.info.URL, "http://127.0.0.1:9/jazz");
    }
    EXPECT_LT(hits[0].passes, hits[1].passes);
}

TEST_F(SearchFixture, SeenSongsAreReportedOnceFiveHundredPassesAreCounted) {
    directory.AddStation({"Beat One", "Pop", "THE BEATLES - HELP", "http://127.0.0.1:9/beat", std::nullopt});
    Start("beatles", 0);
    ASSERT_TRUE(PumpUntil([&] { return !hits.empty(); }, 60000));
    EXPECT_EQ(hits[0].passes, 501);  // the 502nd counted pass
}

TEST_F(SearchFixture, StopRequestsEndTheSearchWithoutWaitingForItsPause) {
    TNetWishObject& search = Start("anything", 60000);
    ASSERT_TRUE(PumpUntil([&] { return directory.Searches().size() >= 1; }));
    const auto start = std::chrono::steady_clock::now();
    search.Terminate();
    ASSERT_TRUE(PumpUntil([&] { return search.Finished(); }, 5000));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST_F(SearchFixture, DestroyingASearchAbandonsAStalledDownload) {
    test::ScriptedResponse stall = test::ScriptedResponse::Ok("");
    stall.stallBeforeHead = true;
    directory.Http().SetHandler([&](const test::RecordedRequest&) { return stall; });
    auto search = std::make_unique<TNetWishObject>("x", Context(1000));
    search->Resume();
    ASSERT_TRUE(directory.Http().WaitForRequestCount(1, 5000));
    const auto start = std::chrono::steady_clock::now();
    search.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST_F(SearchFixture, ManagerAddsRemovesAndStopsSearchesByExactWish) {
    WishSearches& wishes = Manager(60000);
    for (const char* wish : {"a", "b", "a"}) wishes.AddWish(wish);
    TNetWishObject* firstA = wishes.WishObjects()[0].get();

    EXPECT_FALSE(wishes.RemoveWish("zzz"));
    EXPECT_FALSE(wishes.RemoveWish("A"));
    EXPECT_EQ(wishes.WishObjects().size(), 3u);
    EXPECT_TRUE(wishes.RemoveWish("a"));
    ASSERT_EQ(wishes.WishObjects().size(), 2u);
    EXPECT_EQ(wishes.WishObjects()[0]->Wish, "b");
    EXPECT_EQ(wishes.WishObjects()[1]->Wish, "a");
    EXPECT_FALSE(wishes.WishObjects()[1]->Terminated());
    // The removed search is still owned until its thread has ended.
    EXPECT_TRUE(PumpUntil([&] { return firstA->Finished(); }, 5000));

    wishes.StopAllWishes();
    EXPECT_TRUE(wishes.WishObjects().empty());
    wishes.AddWish("c");
    EXPECT_EQ(wishes.WishObjects().size(), 1u);
}

TEST_F(SearchFixture, ManagerRelaysHitsOfEverySearch) {
    // Both searches find the station by its name from the start; a song is a hit only once
    // it contains the wish.
    directory.AddStation({"Beat Help Radio", "Pop", "intro", "http://127.0.0.1:9/beat", std::nullopt});
    WishSearches& wishes = Manager(5);
    wishes.AddWish("beat");
    wishes.AddWish("help");
    ASSERT_TRUE(PumpUntil([&] { return directory.Searches().size() >= 4; }));
    EXPECT_TRUE(hits.empty());
    directory.SetNowPlaying(1, "THE BEATLES - HELP");
    ASSERT_TRUE(PumpUntil([&] {
        bool beat = false, help = false;
        for (const Hit& h : hits) (h.wish == "beat" ? beat : help) = true;
        return beat && help;
    }));
    EXPECT_LT(hits.front().passes, 100);
}

}  // namespace
}  // namespace wt
