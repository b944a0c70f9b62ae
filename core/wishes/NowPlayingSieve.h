#pragma once
// Which of the stations a source saw play a wished song worth reporting. A station is
// reported once per song: when its now-playing text (compared ignoring letter case) turns into
// one that contains a wish. The first look for a wish only learns what plays already, as a
// song heard from its middle is no wished song; a song that ends and comes back later counts
// again. One sieve per source; used by one thread.
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "wishes/WishInfo.h"

namespace wt {

struct WishHit {
    TWishInfo info;
    std::string wish;  // the first wish of the list that the song contains
};

class NowPlayingSieve {
public:
    std::vector<WishHit> Sift(const std::vector<TWishInfo>& seen, const std::vector<std::string>& wishes);

private:
    // By station (its URL, or its name when it has none): the wished song it played when last seen.
    std::unordered_map<std::string, std::string> playing_;
    std::unordered_set<std::string> lookedFor_;  // wishes, lower-cased, that have had their first look
};

}  // namespace wt
