// receive_models MODEL PAUSE_MS --seconds N --out DIR URL [URL ...]
// Receives every URL for N seconds and throws the bytes away, in one of two ways, so that the
// cost of the receiving itself can be compared against a real server:
//   threads  one thread per stream, each in its own blocking libcurl transfer, pausing PAUSE_MS
//            after each read (the way the engine receives today);
//   multi    one thread for all streams with a libcurl multi handle, pausing PAUSE_MS after each
//            round over the ready sockets.
// Prints "I song first" for stream I (1-based) when its first bytes arrive, so the Icecast bench
// counts it as receiving; DIR is unused. A connection that fails or ends is made again. Reports nothing else: the harness takes the process's
// CPU time from wait4.
#include <curl/curl.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Stream {
    int number = 0;
    std::string url;
    CURL* curl = nullptr;
    std::size_t bytes = 0;
    bool announced = false;
    int pauseMs = 0;  // pause inside the callback (threads model only)
    const std::atomic<bool>* stop = nullptr;
};

std::mutex outputLock;

std::size_t OnBody(char*, std::size_t size, std::size_t count, void* user) {
    auto* s = static_cast<Stream*>(user);
    s->bytes += size * count;
    if (!s->announced) {
        s->announced = true;
        std::lock_guard<std::mutex> lock(outputLock);
        std::printf("%d song first\n", s->number);
        std::fflush(stdout);
    }
    if (s->stop->load()) return 0;
    if (s->pauseMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(s->pauseMs));
    return size * count;
}

CURL* NewTransfer(Stream& s) {
    CURL* curl = curl_easy_init();
    curl_easy_setopt(curl, CURLOPT_URL, s.url.c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &s);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, 10000L);
    // Busy servers leave some of many new listeners waiting: give such a connection up.
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, 10L);
    return curl;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 7) {
        std::fprintf(stderr, "usage: receive_models threads|multi PAUSE_MS --seconds N --out DIR URL...\n");
        return 2;
    }
    const std::string model = argv[1];
    const int pauseMs = std::atoi(argv[2]);
    const int seconds = std::atoi(argv[4]);
    std::vector<Stream> streams(static_cast<std::size_t>(argc - 7));
    std::atomic<bool> stop{false};
    curl_global_init(CURL_GLOBAL_DEFAULT);
    for (std::size_t i = 0; i < streams.size(); ++i) {
        streams[i].number = static_cast<int>(i + 1);
        streams[i].url = argv[7 + i];
        streams[i].stop = &stop;
    }
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    if (model == "threads") {
        std::vector<std::thread> threads;
        for (auto& s : streams) {
            s.pauseMs = pauseMs;
            threads.emplace_back([&s] {
                // A connection that fails or ends is made again, as a rip would.
                while (!s.stop->load()) {
                    s.curl = NewTransfer(s);
                    curl_easy_perform(s.curl);
                    curl_easy_cleanup(s.curl);
                    if (!s.stop->load()) std::this_thread::sleep_for(std::chrono::seconds(1));
                }
            });
        }
        std::this_thread::sleep_until(end);
        stop = true;
        for (auto& t : threads) t.join();
    } else {
        CURLM* multi = curl_multi_init();
        curl_multi_setopt(multi, CURLMOPT_MAX_HOST_CONNECTIONS, 0L);
        for (auto& s : streams) curl_multi_add_handle(multi, s.curl = NewTransfer(s));
        int running = 1;
        while (std::chrono::steady_clock::now() < end) {
            curl_multi_perform(multi, &running);
            // A connection that fails or ends is made again at once (the pause below spaces it).
            int left = 0;
            while (CURLMsg* message = curl_multi_info_read(multi, &left)) {
                if (message->msg != CURLMSG_DONE) continue;
                CURL* done = message->easy_handle;
                curl_multi_remove_handle(multi, done);
                curl_multi_add_handle(multi, done);
            }
            curl_multi_poll(multi, nullptr, 0, 1000, nullptr);
            if (pauseMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
        }
        for (auto& s : streams) {
            curl_multi_remove_handle(multi, s.curl);
            curl_easy_cleanup(s.curl);
        }
        curl_multi_cleanup(multi);
    }
    curl_global_cleanup();
    return 0;
}
