#include "update/StationMerge.h"

#include "catalogue/StationCatalogue.h"
#include "catalogue/zDataset.h"

#include <unordered_set>

namespace wt {

MergeResult MergeUpdateStations(StationCatalogue& catalogue, TzDataset& update, const BitRateWindow& window,
                                const std::vector<std::string>& blackList, const std::function<void(int)>& onAdvance) {
    TzField& uGenre = update.FieldByName("Genre");
    TzField& uTitle = update.FieldByName("Title");
    TzField& uBitRate = update.FieldByName("BitRate");
    TzField& uUrl = update.FieldByName("URL");

    std::unordered_set<std::string> known;
    TzDataset& stations = catalogue.Dataset();
    const std::int32_t stored = stations.StoredRecordCount();
    known.reserve(static_cast<size_t>(stored) * 2 + 64);
    for (std::int32_t i = 0; i < stored; ++i) known.insert(catalogue.DBURL().StringIn(stations.StoredRecord(i)));

    MergeResult result;
    int done = 0;
    // The merge reaches the disk as one replacement of the catalogue: a crash half-way leaves
    // the catalogue as it was, and the same update is offered again.
    TzBulkChange bulk(stations);
    update.First();
    while (!update.Eof()) {
        StationRecord station;
        station.URL = uUrl.AsString();
        station.Title = uTitle.AsString();
        const int bitRate = uBitRate.AsInteger();
        if (known.contains(station.URL) || !IsUpdateCompatible(window, blackList, bitRate, station.Title)) {
            ++result.skipped;
        } else {
            station.Genre = uGenre.AsString();
            station.BitRate = static_cast<std::int16_t>(bitRate);
            catalogue.AddStation(station);  // takes NextStationID: the largest ID + 1
            ++result.added;
            known.insert(station.URL);
            known.insert(catalogue.DBURL().AsString());  // as stored: a URL longer than the field is cut
        }
        update.Next();
        if (onAdvance) onAdvance(++done);
    }
    bulk.Finish();
    return result;
}

}  // namespace wt
