#include "wishes/NowPlayingSieve.h"

#include "platform/StringList.h"

namespace wt {

std::vector<WishHit> NowPlayingSieve::Sift(const std::vector<TWishInfo>& seen, const std::vector<std::string>& wishes) {
    // Lower-case every wish once, not once per station.
    std::vector<std::string> lowered;
    lowered.reserve(wishes.size());
    for (const std::string& wish : wishes) lowered.push_back(AsciiLower(wish));
    std::vector<WishHit> hits;
    std::string song;
    for (const TWishInfo& info : seen) {
        song = AsciiLower(info.NowPlaying);
        std::size_t matched = lowered.size();
        for (std::size_t i = 0; i < lowered.size(); ++i)
            if (!lowered[i].empty() && song.find(lowered[i]) != std::string::npos) {
                matched = i;
                break;
            }
        const std::string& key = info.URL.empty() ? info.Station : info.URL;
        if (matched == lowered.size()) {
            if (!playing_.empty()) playing_.erase(key);
            continue;
        }
        auto [it, added] = playing_.try_emplace(key, song);
        if (!added) {
            if (it->second == song) continue;  // still the song we know
            it->second = song;
        }
        if (!lookedFor_.contains(lowered[matched])) continue;
        hits.push_back({info, wishes[matched]});
    }
    for (std::string& wish : lowered) lookedFor_.insert(std::move(wish));
    return hits;
}

}  // namespace wt
