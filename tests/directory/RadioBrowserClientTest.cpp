#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <set>
#include <string>
#include <thread>

#include "DirectoryFixtures.h"
#include "LoopbackHttpServer.h"
#include "directory/RadioBrowserClient.h"
#include "net/HttpClient.h"

namespace wt {
namespace {

using test::LoopbackHttpServer;
using test::ScriptedResponse;

ScriptedResponse Stations() { return ScriptedResponse::Ok(testing::FixtureText("stations.json"), "application/json"); }

TEST(RadioBrowserClient, SearchSendsTheCriteriaAndTheUserAgent) {
    LoopbackHttpServer server;
    server.SetHandler([](const test::RecordedRequest&) { return Stations(); });
    net::HttpClient http;
    RadioBrowserClient client(http, {server.Url("")});
    StationQuery query;
    query.name = "Jazz & Blues";
    query.country = "Brasil";
    query.codec = "AAC";
    query.minBitRate = 96;
    const auto stations = client.Search(query);
    EXPECT_EQ(stations.size(), 11u);
    EXPECT_EQ(client.LastServer(), server.Url(""));
    ASSERT_EQ(server.RequestCount(), 1u);
    const auto request = server.Requests()[0];
    EXPECT_EQ(request.target,
              "/json/stations/search?name=Jazz%20%26%20Blues&country=Brasil&codec=AAC&bitrateMin=96"
              "&hidebroken=true&order=votes&reverse=true&limit=500");
    EXPECT_EQ(request.Header("User-Agent"), DirectoryUserAgent());
    EXPECT_TRUE(DirectoryUserAgent().starts_with("Wavetrap/"));
    EXPECT_GT(DirectoryUserAgent().size(), std::string("Wavetrap/").size());
}

TEST(RadioBrowserClient, FailsOverToTheNextServerInTheGivenOrder) {
    LoopbackHttpServer broken, good;
    broken.SetHandler([](const test::RecordedRequest&) { return ScriptedResponse::Ok("<html>maintenance</html>"); });
    good.SetHandler([](const test::RecordedRequest&) { return Stations(); });
    net::HttpClient http;
    // Refused connection, then an answer that is no station list, then one that is.
    RadioBrowserClient client(http, {testing::RefusingServer(), broken.Url(""), good.Url("")});
    EXPECT_EQ(client.Search({}).size(), 11u);
    EXPECT_EQ(broken.RequestCount(), 1u);
    EXPECT_EQ(good.RequestCount(), 1u);
    EXPECT_EQ(client.LastServer(), good.Url(""));
}

TEST(RadioBrowserClient, NoServerAnsweringIsOneReadableError) {
    LoopbackHttpServer unavailable;
    unavailable.SetHandler([](const test::RecordedRequest&) { return ScriptedResponse::Status(503, "Service Unavailable"); });
    net::HttpClient http;
    RadioBrowserClient client(http, {testing::RefusingServer(), unavailable.Url("")});
    try {
        client.Search({});
        FAIL() << "no error";
    } catch (const DirectoryError& e) {
        const std::string message = e.what();
        EXPECT_TRUE(message.starts_with("No station directory server answered.")) << message;
        EXPECT_NE(message.find(unavailable.Url("")), std::string::npos) << message;
        EXPECT_NE(message.find("503"), std::string::npos) << message;
    }
}

TEST(RadioBrowserClient, AbortStopsAStalledSearchAtOnceWithoutTryingOtherServers) {
    LoopbackHttpServer stalled, other;
    ScriptedResponse stall;
    stall.stallBeforeHead = true;
    stalled.SetHandler([stall](const test::RecordedRequest&) { return stall; });
    other.SetHandler([](const test::RecordedRequest&) { return Stations(); });
    net::HttpClient http;
    RadioBrowserClient client(http, {stalled.Url(""), other.Url("")});
    std::atomic<bool> stop{false};
    std::thread stopper([&] {
        stalled.WaitForRequestCount(1, 5000);
        stop = true;
    });
    const auto start = std::chrono::steady_clock::now();
    try {
        client.Search({}, [&] { return stop.load(); });
        ADD_FAILURE() << "no error";
    } catch (const net::HttpError& e) {
        EXPECT_EQ(e.Kind(), net::HttpErrorKind::Cancelled);
    }
    stopper.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
    EXPECT_EQ(other.RequestCount(), 0u);
    stalled.ReleaseStalls();
}

TEST(DirectoryServers, SettingNamesServersInItsOrder) {
    EXPECT_EQ(ServersFromSetting("de1.api.radio-browser.info\r\nhttp://127.0.0.1:8080/, https://x.test//  nl1.example\n"),
              (std::vector<std::string>{"https://de1.api.radio-browser.info", "http://127.0.0.1:8080", "https://x.test",
                                        "https://nl1.example"}));
    EXPECT_TRUE(ServersFromSetting(" \r\n, ").empty());
}

TEST(DirectoryServers, DiscoveryNamesEveryAddressOnceInRandomOrder) {
    // The name system is the one part a test may not use; this table stands in for it.
    const std::map<std::string, std::string> reverse = {
        {"10.0.0.1", "de1.api.radio-browser.info."},
        {"10.0.0.2", "nl1.api.radio-browser.info"},
        {"2001:db8::1", "de1.api.radio-browser.info"},
        {"10.0.0.3", ""},  // no name: cannot be reached by HTTPS
    };
    HostLookup lookup;
    std::string askedHost;
    lookup.addresses = [&](const std::string& host) {
        askedHost = host;
        std::vector<std::string> all;
        for (const auto& [address, name] : reverse) all.push_back(address);
        return all;
    };
    lookup.nameOf = [&](const std::string& address) { return reverse.at(address); };
    std::set<std::vector<std::string>> orders;
    for (unsigned seed = 0; seed < 20; ++seed) {
        std::mt19937 random(seed);
        const auto servers = DiscoverServers(lookup, random);
        ASSERT_EQ(std::set<std::string>(servers.begin(), servers.end()),
                  (std::set<std::string>{"https://de1.api.radio-browser.info", "https://nl1.api.radio-browser.info"}));
        ASSERT_EQ(servers.size(), 2u);
        orders.insert(servers);
    }
    EXPECT_EQ(askedHost, "all.api.radio-browser.info");
    EXPECT_EQ(orders.size(), 2u);  // both orders occur

    lookup.addresses = [](const std::string&) { return std::vector<std::string>{}; };
    std::mt19937 random(1);
    EXPECT_THROW(DiscoverServers(lookup, random), DirectoryError);
}

TEST(RadioBrowserClient, WithoutServersItDiscoversThemOnFirstUse) {
    LoopbackHttpServer server;
    server.SetHandler([](const test::RecordedRequest&) { return Stations(); });
    net::HttpClient http;
    HostLookup lookup;
    int lookups = 0;
    lookup.addresses = [&](const std::string&) {
        ++lookups;
        return std::vector<std::string>{"127.0.0.1"};
    };
    // The discovered name is a loopback address, so the "https://" base fails over to nothing;
    // what matters is that discovery ran once and its failure reads well.
    lookup.nameOf = [](const std::string&) { return std::string("127.0.0.1"); };
    RadioBrowserClient client(http, {}, lookup);
    EXPECT_THROW(client.Search({}), DirectoryError);
    EXPECT_THROW(client.Search({}), DirectoryError);
    EXPECT_EQ(lookups, 1);
}

}  // namespace
}  // namespace wt
