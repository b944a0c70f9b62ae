// CPU time and memory of the live now-playing sources, against loopback servers that run in a
// child process so that their work is not counted.
//   live_wish_load listing [entries=50000] [wishes=100] [fetches=5]
//     each fetch: download the listing, read it, keep the rippable entries and match them
//     against the wishes (the sieve of one source), as the watcher does once per interval.
//   live_wish_load status [servers=50] [seconds=65] [interval=30]
//     one watcher polling the status pages of that many Icecast servers (two mounts each) on
//     its interval for that long.
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ListingFixtures.h"
#include "LoopbackHttpServer.h"
#include "platform/Clock.h"
#include "ProcessUsage.h"
#include "platform/Dispatcher.h"
#include "wishes/ListingSource.h"
#include "wishes/LiveWishWatch.h"
#include "wishes/NowPlayingSieve.h"
#include "wishes/StatusPageSource.h"

namespace {

using wt::bench::CpuSeconds;
using wt::bench::PeakRssKb;

// Starts the servers in a child; returns their ports. The child ends when keepAlive closes.
std::vector<int> StartServers(int count, const std::function<void(wt::test::LoopbackHttpServer&, int)>& setUp,
                              pid_t& child, int& keepAlive) {
    int portPipe[2], lifePipe[2];
    if (pipe(portPipe) != 0 || pipe(lifePipe) != 0) std::exit(1);
    child = fork();
    if (child == 0) {
        close(portPipe[0]);
        close(lifePipe[1]);
        std::vector<std::unique_ptr<wt::test::LoopbackHttpServer>> servers;
        for (int i = 0; i < count; ++i) {
            servers.push_back(std::make_unique<wt::test::LoopbackHttpServer>());
            setUp(*servers.back(), i);
            const int port = servers.back()->Port();
            if (write(portPipe[1], &port, sizeof port) != sizeof port) _exit(1);
        }
        char c;
        while (read(lifePipe[0], &c, 1) > 0) {
        }
        std::size_t requests = 0;
        for (const auto& server : servers) requests += server->RequestCount();
        std::fprintf(stderr, "requests served: %zu\n", requests);
        _exit(0);
    }
    close(portPipe[1]);
    close(lifePipe[0]);
    std::vector<int> ports;
    for (int i = 0; i < count; ++i) {
        int port = 0;
        if (read(portPipe[0], &port, sizeof port) != sizeof port) std::exit(1);
        ports.push_back(port);
    }
    keepAlive = lifePipe[1];
    return ports;
}

void StopServers(pid_t child, int keepAlive) {
    close(keepAlive);
    waitpid(child, nullptr, 0);
}

int Listing(int entries, int wishes, int fetches) {
    pid_t child;
    int keepAlive;
    const std::string xml = wt::test::LargeListingXml(entries);
    const auto ports = StartServers(1, [&](wt::test::LoopbackHttpServer& s, int) {
        s.Route("/yp.xml", wt::test::ScriptedResponse::Ok(xml, "text/xml"));
    }, child, keepAlive);
    std::vector<std::string> wishList;
    // Wishes that match nothing but must still be compared with every entry, and one that
    // matches a single entry.
    for (int i = 0; i + 1 < wishes; ++i) wishList.push_back("nothing like this " + std::to_string(i));
    wishList.push_back("artist 4242 - ");
    wt::net::HttpClient client;
    wt::ListingOptions options;
    options.url = "http://127.0.0.1:" + std::to_string(ports[0]) + "/yp.xml";
    options.intervalMs = 0;
    wt::DirectoryListingSource source(client, options);
    wt::NowPlayingSieve sieve;
    const long rssBefore = PeakRssKb();
    double cpu = 0, wall = 0;
    std::size_t hits = 0;
    for (int i = 0; i < fetches; ++i) {
        const double c0 = CpuSeconds();
        const auto w0 = std::chrono::steady_clock::now();
        const auto seen = source.Look(0, wishList, {});
        hits += sieve.Sift(seen, wishList).size() + (seen.size() == static_cast<std::size_t>(entries) ? 0 : 1000000);
        cpu += CpuSeconds() - c0;
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - w0).count();
    }
    std::printf("listing: %d entries (%zu bytes), %d wishes, %d fetches: CPU %.1f ms per fetch+match, wall %.1f ms, "
                "peak RSS %ld KB (+%ld KB over the start), hits %zu\n",
                entries, xml.size(), wishes, fetches, 1000 * cpu / fetches, 1000 * wall / fetches, PeakRssKb(),
                PeakRssKb() - rssBefore, hits);
    StopServers(child, keepAlive);
    return 0;
}

int Status(int servers, int seconds, int interval) {
    pid_t child;
    int keepAlive;
    const auto ports = StartServers(servers, [](wt::test::LoopbackHttpServer& s, int i) {
        const std::string root = "http://127.0.0.1:" + std::to_string(s.Port()) + "/";
        s.Route("/status-json.xsl",
                wt::test::ScriptedResponse::Ok(
                    R"({"icestats":{"admin":"x","host":"h","source":[{"listenurl":")" + root +
                        R"(a.mp3","title":"Artist - Song )" + std::to_string(i) +
                        R"(","server_name":"A","server_type":"audio/mpeg","listeners":3},{"listenurl":")" + root +
                        R"(b.mp3","title":"Other - Tune","server_name":"B","server_type":"audio/mpeg","listeners":1}]}})",
                    "application/json"));
    }, child, keepAlive);
    std::vector<wt::WatchedStation> stations;
    for (int port : ports) stations.push_back({"http://127.0.0.1:" + std::to_string(port) + "/a.mp3", "A", "Rock"});
    wt::net::HttpClient client;
    wt::QueueDispatcher gui;
    const long rssBefore = PeakRssKb();
    const double c0 = CpuSeconds();
    {
        wt::LiveWishWatch watch(gui, wt::SystemClock::Instance());
        wt::StatusPageOptions options;
        options.intervalMs = static_cast<std::uint32_t>(interval) * 1000u;
        options.maxServers = servers;
        watch.AddSource(std::make_unique<wt::StatusPageSource>(client, stations, options));
        watch.SetWishes({"beatles", "abba", "queen"});
        watch.Start();
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (std::chrono::steady_clock::now() < end) gui.PumpFor(100);
        gui.Close();
    }
    const double cpu = CpuSeconds() - c0;
    std::printf("status: %d servers every %d s for %d s: CPU %.1f ms in all, %.3f %% of one core, peak RSS %ld KB "
                "(+%ld KB over the start)\n",
                servers, interval, seconds, 1000 * cpu, 100 * cpu / seconds, PeakRssKb(), PeakRssKb() - rssBefore);
    std::fflush(stdout);
    StopServers(child, keepAlive);
    return 0;
}

int Arg(int argc, char** argv, int i, int fallback) { return argc > i ? std::atoi(argv[i]) : fallback; }

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "listing";
    if (mode == "listing") return Listing(Arg(argc, argv, 2, 50000), Arg(argc, argv, 3, 100), Arg(argc, argv, 4, 5));
    if (mode == "status") return Status(Arg(argc, argv, 2, 50), Arg(argc, argv, 3, 65), Arg(argc, argv, 4, 30));
    std::fprintf(stderr, "usage: live_wish_load listing|status [...]\n");
    return 2;
}
