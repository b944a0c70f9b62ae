// Runs N wish searches at once (one pass a second each, as in the program) against a station
// directory on 127.0.0.1 served by a child process, and reports the CPU time this process
// spent per search pass. Usage: wish_search_load [searches=50] [seconds=20] [stations=3]
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "DirectoryTestServer.h"
#include "ProcessUsage.h"
#include "platform/Dispatcher.h"
#include "wishes/NetWishObjects.h"

namespace {

using wt::bench::CpuSeconds;

// The directory lives in a child so that its CPU time is not counted as the searches'.
int StartDirectory(int stations, pid_t& child, int& keepAlive) {
    int portPipe[2], lifePipe[2];
    if (pipe(portPipe) != 0 || pipe(lifePipe) != 0) std::exit(1);
    child = fork();
    if (child == 0) {
        close(portPipe[0]);
        close(lifePipe[1]);
        wt::test::DirectoryTestServer directory;
        for (int i = 1; i <= stations; ++i)
            directory.AddStation({"Radio " + std::to_string(i), "Pop", "Some Artist - Song " + std::to_string(i),
                                  "http://127.0.0.1:9/stream" + std::to_string(i), std::nullopt});
        const int port = directory.Http().Port();
        if (write(portPipe[1], &port, sizeof port) != sizeof port) _exit(1);
        char c;
        while (read(lifePipe[0], &c, 1) > 0) {
        }
        _exit(0);
    }
    close(portPipe[1]);
    close(lifePipe[0]);
    int port = 0;
    if (read(portPipe[0], &port, sizeof port) != sizeof port) std::exit(1);
    keepAlive = lifePipe[1];
    return port;
}

}  // namespace

int main(int argc, char** argv) {
    const int searches = argc > 1 ? std::atoi(argv[1]) : 50;
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 20;
    const int stations = argc > 3 ? std::atoi(argv[3]) : 3;
    pid_t child = 0;
    int keepAlive = -1;
    const int port = StartDirectory(stations, child, keepAlive);

    wt::net::HttpClient client;
    wt::QueueDispatcher gui;
    wt::WishSearchContext context;
    context.client = &client;
    context.dispatcher = &gui;
    context.rootUrl = "http://127.0.0.1:" + std::to_string(port) + "/";
    context.pauseMs = 1000;

    const double cpuStart = CpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::unique_ptr<wt::TNetWishObject>> running;
    for (int i = 0; i < searches; ++i) {
        running.push_back(std::make_unique<wt::TNetWishObject>("Radio", context));
        running.back()->Resume();
    }
    while (std::chrono::steady_clock::now() - start < std::chrono::seconds(seconds)) gui.PumpFor(100);
    gui.Close();
    long passes = 0;
    for (auto& search : running) passes += search->Passes();
    for (auto& search : running) search->Terminate();
    running.clear();
    const double cpu = CpuSeconds() - cpuStart;
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    close(keepAlive);
    waitpid(child, nullptr, 0);
    std::printf("searches=%d seconds=%.1f stations_per_page=%d passes=%ld passes_per_search_per_s=%.2f\n",
                searches, wall, stations, passes, passes / wall / searches);
    std::printf("cpu=%.3f s  cpu_per_pass=%.3f ms  cpu_per_search=%.3f%% of one core\n", cpu,
                passes ? cpu * 1000.0 / passes : 0.0, cpu / wall / searches * 100.0);
    return 0;
}
