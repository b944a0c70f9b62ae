#pragma once
// Merging a downloaded catalogue into the station catalogue: every station whose URL the
// catalogue does not hold yet and that passes the filter is added with the next free ID.
#include "update/UpdateFilter.h"

#include <functional>
#include <string>
#include <vector>

namespace wt {

class StationCatalogue;
class TzDataset;

struct MergeResult {
    int added = 0;
    int skipped = 0;
};

// Walks update from its first record to its end; after each record, added or skipped,
// onAdvance receives the number of records done. The catalogue's URLs are gathered once, so the
// merge costs update records + catalogue stations, not their product. A URL is compared exactly
// (case-sensitively); a station added earlier in the same merge counts as known.
MergeResult MergeUpdateStations(StationCatalogue& catalogue, TzDataset& update, const BitRateWindow& window,
                                const std::vector<std::string>& blackList, const std::function<void(int)>& onAdvance);

}  // namespace wt
