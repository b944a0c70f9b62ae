#pragma once
// Merging stations into the station catalogue: every station whose URL the catalogue does not
// hold yet and that passes the filter is added with the next free ID. The downloaded update,
// the station directory and imported station lists all add stations through StationMerger.
#include "update/UpdateFilter.h"

#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

namespace wt {

class StationCatalogue;
class TzDataset;
struct StationRecord;

struct MergeResult {
    int added = 0;
    int skipped = 0;
};

enum class MergeOutcome { Added, KnownUrl, Filtered };

// Offers stations to a catalogue one at a time. The catalogue's URLs are gathered once, so a
// merge costs offered stations + catalogue stations, not their product. A URL is compared exactly
// (case-sensitively); a station added earlier through the same merger counts as known. The
// catalogue must stay open and be changed only through this merger while it lives.
class StationMerger {
public:
    explicit StationMerger(StationCatalogue& catalogue);
    bool Knows(const std::string& url) const { return known_.contains(url); }
    // Adds station (its ID is ignored) unless its URL is known or the filter refuses it.
    MergeOutcome Offer(const StationRecord& station, const BitRateWindow& window,
                       const std::vector<std::string>& blackList);

private:
    StationCatalogue& catalogue_;
    std::unordered_set<std::string> known_;
};

// Walks update from its first record to its end; after each record, added or skipped,
// onAdvance receives the number of records done.
MergeResult MergeUpdateStations(StationCatalogue& catalogue, TzDataset& update, const BitRateWindow& window,
                                const std::vector<std::string>& blackList, const std::function<void(int)>& onAdvance);

}  // namespace wt
