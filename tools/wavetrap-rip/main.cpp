// wavetrap-rip [--seconds N] --out DIR URL [URL ...]
// Rips every URL at once, each into DIR/1, DIR/2, ... (by its place on the command line),
// printing every status, song and progress notification as a line, and a "lost" line with
// the reason each time a connection is lost and tried again. Stops all rips after N seconds
// or on Ctrl-C. Exits with status 0 when every station delivered audio, 1 when some station
// never did (a "failed" line names it), 2 on a usage error.
#include "ScheduleMode.h"
#include "TerminalText.h"
#include "engine/NetRadio.h"
#include "tools/wavetrap-rip/WishMode.h"
#include "platform/Dispatcher.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

volatile std::sig_atomic_t interrupted = 0;
void OnSignal(int) { interrupted = 1; }

int Usage() {
    std::fprintf(stderr, "usage: wavetrap-rip [--seconds N] --out DIR URL [URL ...]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (wt::rip::IsWishMode(argc, argv)) return wt::rip::RunWishMode(argc, argv);
    if (wt::rip::WantsScheduleMode(argc, argv)) return wt::rip::RunScheduleMode(argc, argv);
    long seconds = -1;
    std::string out;
    std::vector<std::string> urls;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--seconds" && i + 1 < argc) {
            char* end = nullptr;
            seconds = std::strtol(argv[++i], &end, 10);
            if (!end || *end || seconds < 0) return Usage();
        } else if (arg == "--out" && i + 1 < argc) {
            out = argv[++i];
        } else if (!arg.empty() && arg[0] == '-') {
            return Usage();
        } else {
            urls.push_back(arg);
        }
    }
    if (out.empty() || urls.empty()) return Usage();
    if (out.back() != '/') out += '/';

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    wt::QueueDispatcher dispatcher;
    int running = 0;
    std::vector<bool> received(urls.size() + 1, false);  // by place: some audio arrived
    std::vector<std::string> lastStatus(urls.size() + 1);
    {
        wt::TNetRadio radio(dispatcher);
        std::map<int, int> position;  // channel id -> place on the command line
        radio.OnStatus = [&](wt::TNetRadioChannel* c, const std::string& s) {
            std::printf("%d status %s\n", position[c->ID], wt::rip::ForTerminal(s).c_str());
            lastStatus[position[c->ID]] = s;
        };
        radio.OnNewSong = [&](wt::TNetRadioChannel* c, const std::string& t) {
            std::printf("%d song %s\n", position[c->ID], wt::rip::ForTerminal(t).c_str());
        };
        radio.OnConnectionLost = [&](wt::TNetRadioChannel* c, const std::string& reason) {
            std::printf("%d lost %s\n", position[c->ID], wt::rip::ForTerminal(reason).c_str());
        };
        radio.OnProgress = [&](std::int32_t id, std::int32_t kb) { std::printf("%d progress %d KB\n", position[id], kb); };
        radio.OnChannelTerminating = [&](wt::TNetRadioChannel* c) {
            received[position[c->ID]] = c->EverReceived();
            --running;
        };
        for (std::size_t i = 0; i < urls.size(); ++i) {
            try {
                auto* channel = radio.StartRip(urls[i], out + std::to_string(i + 1) + "/", "");
                position[channel->ID] = static_cast<int>(i + 1);
                ++running;
            } catch (const std::exception& error) {
                std::fprintf(stderr, "%s\n", error.what());
                break;
            }
        }
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (!interrupted && running > 0 && (seconds < 0 || std::chrono::steady_clock::now() < deadline)) {
            dispatcher.PumpFor(100);
            std::fflush(stdout);
        }
        radio.StopAll();
        // Let the channels report their end, within a few seconds.
        dispatcher.PumpUntil([&] { return running <= 0; }, 5000);
        dispatcher.Close();
    }
    int failed = 0;
    for (std::size_t i = 1; i <= urls.size(); ++i) {
        if (received[i]) continue;
        ++failed;
        std::printf("%zu failed %s (%s)\n", i, urls[i - 1].c_str(),
                    lastStatus[i].empty() ? "not started" : wt::rip::ForTerminal(lastStatus[i]).c_str());
    }
    std::fflush(stdout);
    return failed > 0 ? 1 : 0;
}
