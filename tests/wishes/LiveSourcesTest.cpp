// The live sources against loopback servers: the directory listing's etiquette and size, and
// the status pages of Icecast and SHOUTcast servers.
#include <gtest/gtest.h>

#include <chrono>

#include "ListingFixtures.h"
#include "LoopbackHttpServer.h"
#include "platform/Clock.h"
#include "platform/Dispatcher.h"
#include "wishes/ListingSource.h"
#include "wishes/LiveWishWatch.h"
#include "wishes/StatusPageSource.h"

namespace wt {
namespace {

using test::LoopbackHttpServer;
using test::ScriptedResponse;

constexpr std::uint32_t kListingInterval = 15 * 60 * 1000;
const char kLastModified[] = "Thu, 10 Dec 2026 18:00:00 GMT";

// A listing server that answers 304 to a request carrying its Last-Modified date.
struct ListingServer {
    LoopbackHttpServer http;
    std::string listing;
    ListingServer() {
        http.SetHandler([this](const test::RecordedRequest& request) {
            if (request.Header("If-Modified-Since") == kLastModified) return ScriptedResponse::Status(304, "Not Modified");
            ScriptedResponse ok = ScriptedResponse::Ok(listing, "text/xml");
            ok.headers.push_back({"Last-Modified", kLastModified});
            return ok;
        });
    }
};

struct Found {
    TWishInfo info;
    std::string wish, where;
};

struct WatchFixture : ::testing::Test {
    ListingServer server;
    net::HttpClient client;
    QueueDispatcher gui;
    ManualClock clock;
    std::vector<Found> found;
    std::unique_ptr<LiveWishWatch> watch;

    void StartWatch() {
        watch = std::make_unique<LiveWishWatch>(gui, clock, 5);
        ListingOptions options;
        options.url = server.http.Url("/yp.xml");
        options.intervalMs = kListingInterval;
        watch->AddSource(std::make_unique<DirectoryListingSource>(client, options));
        watch->OnWishFound = [this](const TWishInfo& info, const std::string& wish, const std::string& where) {
            found.push_back({info, wish, where});
        };
        watch->Start();
    }
    // Lets the watcher go round a few more times, pumping its hand-offs.
    void Rounds(int more) {
        const int until = watch->Rounds() + more;
        ASSERT_TRUE(gui.PumpUntil([&] { return watch->Rounds() >= until; }, 10000));
    }
    void TearDown() override {
        gui.Close();
        watch.reset();
    }
};

TEST_F(WatchFixture, TheListingIsNotFetchedWithAnEmptyWishListNorMoreOftenThanItsInterval) {
    server.listing = test::ListingXml(test::ListingEntryXml("Pop FM", "http://127.0.0.1:9/pop", "audio/mpeg", "Pop",
                                                            "Queen - Radio"));
    StartWatch();
    Rounds(5);
    EXPECT_EQ(server.http.RequestCount(), 0u) << "no wishes, no listing";

    watch->SetWishes({"abba"});
    Rounds(5);
    ASSERT_EQ(server.http.RequestCount(), 1u);
    EXPECT_EQ(server.http.Requests()[0].Header("If-Modified-Since"), "");
    clock.Advance(kListingInterval - 1);
    Rounds(5);
    EXPECT_EQ(server.http.RequestCount(), 1u) << "not before the interval has passed";

    // The next fetch asks for changes only; the unchanged listing reports nothing.
    clock.Advance(1);
    Rounds(5);
    ASSERT_EQ(server.http.RequestCount(), 2u);
    EXPECT_EQ(server.http.Requests()[1].Header("If-Modified-Since"), kLastModified);
    EXPECT_EQ(watch->Summaries(), std::vector<std::string>{"directory listing: 1 stream"});

    // Emptied, the list stops the fetches even when they are due.
    watch->SetWishes({});
    clock.Advance(2 * kListingInterval);
    Rounds(5);
    EXPECT_EQ(server.http.RequestCount(), 2u);
    EXPECT_TRUE(found.empty());
}

TEST_F(WatchFixture, AStationOfTheListingThatTurnsToAWishedSongIsReported) {
    server.listing = test::ListingXml(test::ListingEntryXml("Pop FM", "http://127.0.0.1:9/pop", "audio/mpeg", "Pop",
                                                            "Queen - Radio"));
    StartWatch();
    watch->SetWishes({"abba"});
    Rounds(3);
    // A new listing: the server's date changes, so the conditional request gets it whole.
    server.http.SetHandler([](const test::RecordedRequest&) {
        ScriptedResponse ok = ScriptedResponse::Ok(
            test::ListingXml(test::ListingEntryXml("Pop FM", "http://127.0.0.1:9/pop", "audio/mpeg", "Pop",
                                                   "ABBA &amp; Friends - SOS")),
            "text/xml");
        ok.headers.push_back({"Last-Modified", "Thu, 10 Dec 2026 18:15:00 GMT"});
        return ok;
    });
    clock.Advance(kListingInterval);
    ASSERT_TRUE(gui.PumpUntil([&] { return !found.empty(); }, 10000));
    EXPECT_EQ(found[0].info.Station, "Pop FM");
    EXPECT_EQ(found[0].info.URL, "http://127.0.0.1:9/pop");
    EXPECT_EQ(found[0].info.NowPlaying, "ABBA & Friends - SOS");
    EXPECT_EQ(found[0].wish, "abba");
    EXPECT_EQ(found[0].where, "directory listing");
}

TEST(ListingSource, FiftyThousandEntriesInOneFetch) {
    ListingServer server;
    server.listing = test::LargeListingXml(50000);
    net::HttpClient client;
    ListingOptions options;
    options.url = server.http.Url("/yp.xml");
    DirectoryListingSource source(client, options);
    const auto hits = source.Look(0, {"x"}, {});
    ASSERT_EQ(hits.size(), 50000u);
    EXPECT_EQ(hits[49999].Station, "Station 49999");
    EXPECT_EQ(hits[49999].NowPlaying, "Artist 49999 - Song 49999");
    EXPECT_FALSE(source.Due(1000));
    EXPECT_TRUE(source.Due(options.intervalMs));
    EXPECT_EQ(source.Summary(), "directory listing: 50000 streams");
}

TEST(ListingSource, AListingThatCannotBeReadSaysWhy) {
    LoopbackHttpServer missing;
    std::string closed;
    {
        LoopbackHttpServer gone;
        closed = gone.Url("/yp.xml");
    }
    net::HttpClient client;
    const std::pair<std::string, const char*> cases[] = {
        {missing.Url("/yp.xml"), "directory listing: HTTP 404"},
        {closed, "directory listing: no answer"},
    };
    for (const auto& [url, summary] : cases) {
        ListingOptions options;
        options.url = url;
        DirectoryListingSource source(client, options);
        EXPECT_TRUE(source.Look(0, {"x"}, {}).empty());
        EXPECT_EQ(source.Summary(), summary);
        EXPECT_FALSE(source.Due(1000)) << "a failed fetch waits for the interval too";
    }
}

// --- status pages --------------------------------------------------------------------------

std::string IcecastPage(const std::string& root, const std::string& title) {
    return R"({"icestats":{"source":[{"listenurl":")" + root + R"(one.mp3","title":")" + title +
           R"(","server_name":"Server One","server_type":"audio/mpeg"},{"listenurl":"http://elsewhere.test/two.webm","title":")" +
           title + R"(","server_type":"video/webm"},{"listenurl":"http://name.test:1/extra","title":")" + title +
           R"(","server_name":"Extra"}]}})";
}

TEST(StatusPageSource, OneRequestPerServerForAllItsMountsAtItsOwnPace) {
    LoopbackHttpServer icecast, shoutcast, plain, unused;
    std::string title = "Queen - Radio";
    icecast.Route("/status-json.xsl", ScriptedResponse::Ok(IcecastPage(icecast.Url("/"), title), "application/json"));
    shoutcast.Route("/stats?json=1", ScriptedResponse::Ok(R"({"songtitle":"ABBA - SOS","servertitle":"SC","streampath":"/live"})",
                                                           "application/json"));
    net::HttpClient client;
    StatusPageOptions options;
    options.intervalMs = 30000;
    options.maxServers = 3;
    const std::vector<WatchedStation> stations = {
        {icecast.Url("/one.mp3"), "Catalogue One", "Rock"},
        {shoutcast.Url("/live"), "Catalogue SC", ""},
        {icecast.Url("/other.mp3"), "Same Server", ""},
        {plain.Url("/radio"), "No Status", ""},
        {unused.Url("/radio"), "Over The Limit", ""},
    };
    StatusPageSource source(client, stations, options);
    ASSERT_EQ(source.Servers().size(), 3u) << "at most maxServers, the first ones";

    const auto hits = source.Look(0, {"x"}, {});
    ASSERT_EQ(hits.size(), 3u);
    EXPECT_EQ(hits[0].URL, icecast.Url("/one.mp3"));
    EXPECT_EQ(hits[0].Station, "Catalogue One") << "the catalogue's name for a known mount";
    EXPECT_EQ(hits[0].Genre, "Rock");
    EXPECT_EQ(hits[0].NowPlaying, "Queen - Radio");
    EXPECT_EQ(hits[1].URL, icecast.Url("/extra")) << "a mount the catalogue lacks, reached as the server was";
    EXPECT_EQ(hits[1].Station, "Extra");
    EXPECT_EQ(hits[2].URL, shoutcast.Url("/live"));
    EXPECT_EQ(hits[2].Station, "Catalogue SC");
    EXPECT_EQ(hits[2].NowPlaying, "ABBA - SOS");
    EXPECT_EQ(source.KindOf(icecast.Url("/")), StatusPageSource::ServerKind::Icecast);
    EXPECT_EQ(source.KindOf(shoutcast.Url("/")), StatusPageSource::ServerKind::Shoutcast);
    EXPECT_EQ(source.KindOf(plain.Url("/")), StatusPageSource::ServerKind::NoStatusPage);
    EXPECT_EQ(icecast.RequestCount(), 1u);
    EXPECT_EQ(shoutcast.RequestCount(), 2u) << "the Icecast page first, then SHOUTcast's";
    EXPECT_EQ(plain.RequestCount(), 2u);
    EXPECT_EQ(unused.RequestCount(), 0u);
    EXPECT_EQ(source.Summary(), "status pages: 2 of 3 servers");

    EXPECT_FALSE(source.Due(29999));
    EXPECT_TRUE(source.Due(30000));
    source.Look(30000, {"x"}, {});
    EXPECT_EQ(icecast.RequestCount(), 2u);
    EXPECT_EQ(shoutcast.RequestCount(), 3u) << "a known SHOUTcast server is asked only its own page";
    EXPECT_EQ(plain.RequestCount(), 2u) << "a server without a status page is left alone";
}

TEST(StatusPageSource, AServerThatDoesNotAnswerIsTriedAgainAtTheNextInterval) {
    std::string closedPort;
    {
        LoopbackHttpServer gone;  // its port is closed once it has stopped
        closedPort = gone.Url("/radio");
    }
    net::HttpClient client;
    StatusPageSource source(client, {{closedPort, "Down For Now", ""}}, StatusPageOptions{});
    EXPECT_TRUE(source.Look(0, {"x"}, {}).empty());
    EXPECT_EQ(source.KindOf(source.Servers()[0]), StatusPageSource::ServerKind::Unknown);
    EXPECT_FALSE(source.Due(1000));
    EXPECT_TRUE(source.Due(30000));
}

TEST(StatusPageSource, AServerThatAnswersWithAudioIsCutAndLeftAlone) {
    LoopbackHttpServer station;
    ScriptedResponse audio = ScriptedResponse::Ok(std::string(4 * 1024 * 1024, '\xFF'), "audio/mpeg");
    audio.statusLine = "ICY 200 OK";
    station.SetHandler([&](const test::RecordedRequest&) { return audio; });
    net::HttpClient client;
    StatusPageOptions options;
    options.maxBytes = 64 * 1024;
    StatusPageSource source(client, {{station.Url("/"), "Old Shoutcast", ""}}, options);
    EXPECT_TRUE(source.Look(0, {"x"}, {}).empty());
    EXPECT_EQ(source.KindOf(station.Url("/")), StatusPageSource::ServerKind::NoStatusPage);
    EXPECT_FALSE(source.Due(10 * 60 * 1000));
}

}  // namespace
}  // namespace wt
