// wavetrap-rip --wish TEXT [--wish TEXT ...] [--wishes-from cfg.dat] [--yp URL] [--watch URL ...]
//              [--watch-every SECONDS] [--yp-every SECONDS] --out DIR [--seconds N]
//
// Watches the stations' servers' status pages (--watch: station stream addresses) and the
// directory listing (--yp) for songs containing a wish, and rips each station found into
// DIR/Wish List/, keeping only the songs that match a wish, as the window's wish list does.
// Prints a "hit" line for every station found, a "status" line for every status of a rip, a
// "kept" line for every song kept, an "unwished" line for the title that ends a rip and an
// "ended" line when a rip ends. --wishes-from adds the wishes of a settings file, whose
// WishListingURL, WishListingInterval, WishStatusInterval and WishStatusServers apply unless
// given on the command line; the listing is asked only when --yp or that file names one.
// Stops after N seconds or on Ctrl-C; exits with 2 on a usage error.
#include "tools/wavetrap-rip/WishMode.h"
#include "tools/wavetrap-rip/TerminalText.h"

#include "engine/NetRadio.h"
#include "platform/Clock.h"
#include "platform/Dispatcher.h"
#include "platform/StringList.h"
#include "settings/SettingNames.h"
#include "settings/zIniData.h"
#include "wishes/LiveWishSetup.h"
#include "wishes/NetWishObjects.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <algorithm>
#include <string>
#include <vector>

namespace wt::rip {

namespace {

volatile std::sig_atomic_t stopAsked = 0;
void OnStopSignal(int) { stopAsked = 1; }

int Usage() {
    std::fprintf(stderr,
                 "usage: wavetrap-rip --wish TEXT [--wish TEXT ...] [--wishes-from cfg.dat] [--yp URL]\n"
                 "                    [--watch URL ...] [--watch-every S] [--yp-every S] --out DIR [--seconds N]\n");
    return 2;
}

bool ReadSeconds(const char* text, long& out) {
    char* end = nullptr;
    out = std::strtol(text, &end, 10);
    return end && !*end && out >= 0;
}

}  // namespace

bool IsWishMode(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--wish" || arg == "--wishes-from" || arg == "--yp" || arg == "--watch") return true;
    }
    return false;
}

int RunWishMode(int argc, char** argv) {
    std::vector<std::string> wishes;
    std::vector<WatchedStation> stations;
    std::string out, wishesFrom, yp;
    long seconds = -1, watchEvery = -1, ypEvery = -1;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--wish" && hasValue) {
            wishes.push_back(argv[++i]);
        } else if (arg == "--wishes-from" && hasValue) {
            wishesFrom = argv[++i];
        } else if (arg == "--yp" && hasValue) {
            yp = argv[++i];
        } else if (arg == "--watch" && hasValue) {
            const std::string url = argv[++i];
            stations.push_back({url, url, ""});
        } else if (arg == "--out" && hasValue) {
            out = argv[++i];
        } else if (arg == "--seconds" && hasValue) {
            if (!ReadSeconds(argv[++i], seconds)) return Usage();
        } else if (arg == "--watch-every" && hasValue) {
            if (!ReadSeconds(argv[++i], watchEvery) || watchEvery == 0) return Usage();
        } else if (arg == "--yp-every" && hasValue) {
            if (!ReadSeconds(argv[++i], ypEvery) || ypEvery == 0) return Usage();
        } else {
            return Usage();
        }
    }
    LiveWishSettings settings;
    settings.listingUrl.clear();  // without a file or --yp, no listing is asked
    if (!wishesFrom.empty()) {
        const std::filesystem::path file(wishesFrom);
        try {
            TzIniData store(file.filename().string(), true, file.parent_path().string() + "/");
            for (const std::string& wish : SplitLines(store.ReadString(setting::kWishes, "")))
                if (!wish.empty()) wishes.push_back(wish);
            settings = ReadLiveWishSettings(store);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "%s: %s\n", wishesFrom.c_str(), error.what());
            return 2;
        }
    }
    if (!yp.empty()) settings.listingUrl = yp;
    if (watchEvery > 0) settings.statusIntervalMs = static_cast<std::uint32_t>(watchEvery) * 1000u;
    if (ypEvery > 0) settings.listingIntervalMs = static_cast<std::uint32_t>(ypEvery) * 1000u;
    if (out.empty() || wishes.empty() || (stations.empty() && !net::IsHttpUrl(settings.listingUrl))) return Usage();
    if (out.back() != '/') out += '/';
    const std::string folder = out + "Wish List/";
    const std::string wishText = JoinLinesCrLf(wishes);

    std::signal(SIGINT, OnStopSignal);
    std::signal(SIGTERM, OnStopSignal);
    QueueDispatcher dispatcher;
    net::HttpClient http;
    int running = 0;
    {
        TNetRadio radio(dispatcher);
        std::map<int, std::string> stationOf;  // channel id -> station name
        std::map<int, std::string> urlOf;      // channel id -> stream address, while it rips
        radio.OnNewSong = [&](TNetRadioChannel* channel, const std::string& title) {
            const bool wished = std::any_of(wishes.begin(), wishes.end(),
                                            [&](const std::string& wish) { return WishMatches(title, wish); });
            // An unwished title ends the rip and leaves no file; saying so tells why it ended.
            std::printf("%s %s | %s\n", wished ? "kept" : "unwished", ForTerminal(stationOf[channel->ID]).c_str(),
                        ForTerminal(title).c_str());
        };
        // Every status, so that a rip that cannot record says why.
        radio.OnStatus = [&](TNetRadioChannel* channel, const std::string& status) {
            std::printf("status %s | %s\n", ForTerminal(stationOf[channel->ID]).c_str(), ForTerminal(status).c_str());
        };
        radio.OnChannelTerminating = [&](TNetRadioChannel* channel) {
            std::printf("ended %s\n", ForTerminal(stationOf[channel->ID]).c_str());
            urlOf.erase(channel->ID);
            --running;
        };
        LiveWishWatch watch(dispatcher, SystemClock::Instance());
        AddLiveSources(watch, http, settings, stations);
        watch.OnWishFound = [&](const TWishInfo& info, const std::string& wish, const std::string& where) {
            std::printf("hit %s | %s | %s | %s (%s)\n", ForTerminal(wish).c_str(), ForTerminal(info.Station).c_str(),
                        ForTerminal(info.URL).c_str(), ForTerminal(info.NowPlaying).c_str(), where.c_str());
            // The same rules as the window's: a stream recorded already is not started again.
            const bool listed = std::any_of(urlOf.begin(), urlOf.end(), [&](const auto& rip) { return rip.second == info.URL; });
            if (info.URL.empty() || radio.IsRipping(info.URL) || listed) return;
            try {
                TNetRadioChannel* channel = radio.StartRip(info.URL, folder, wishText);
                stationOf[channel->ID] = info.Station;
                urlOf[channel->ID] = info.URL;
                ++running;
            } catch (const std::exception& error) {
                std::printf("refused %s | %s\n", ForTerminal(info.Station).c_str(), error.what());
            }
        };
        watch.SetWishes(wishes);
        watch.Start();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (!stopAsked && (seconds < 0 || std::chrono::steady_clock::now() < deadline)) {
            dispatcher.PumpFor(100);
            std::fflush(stdout);
        }
        watch.SetWishes({});
        radio.StopAll();
        dispatcher.PumpUntil([&] { return running <= 0; }, 5000);
        dispatcher.Close();
    }
    std::fflush(stdout);
    return 0;
}

}  // namespace wt::rip
