#include "update/StationMerge.h"

#include "catalogue/StationCatalogue.h"
#include "catalogue/zDataset.h"

namespace wt {

StationMerger::StationMerger(StationCatalogue& catalogue) : catalogue_(catalogue) {
    TzDataset& stations = catalogue.Dataset();
    const std::int32_t stored = stations.StoredRecordCount();
    known_.reserve(static_cast<size_t>(stored) * 2 + 64);
    for (std::int32_t i = 0; i < stored; ++i) known_.insert(catalogue.DBURL().StringIn(stations.StoredRecord(i)));
}

MergeOutcome StationMerger::Offer(const StationRecord& station, const BitRateWindow& window,
                                  const std::vector<std::string>& blackList) {
    if (known_.contains(station.URL)) return MergeOutcome::KnownUrl;
    if (!IsUpdateCompatible(window, blackList, station.BitRate, station.Title)) return MergeOutcome::Filtered;
    catalogue_.AddStation(station);  // takes NextStationID: the largest ID + 1
    known_.insert(station.URL);
    known_.insert(catalogue_.DBURL().AsString());  // as stored: a URL longer than the field is cut
    return MergeOutcome::Added;
}

MergeResult MergeUpdateStations(StationCatalogue& catalogue, TzDataset& update, const BitRateWindow& window,
                                const std::vector<std::string>& blackList, const std::function<void(int)>& onAdvance) {
    TzField& uGenre = update.FieldByName("Genre");
    TzField& uTitle = update.FieldByName("Title");
    TzField& uBitRate = update.FieldByName("BitRate");
    TzField& uUrl = update.FieldByName("URL");

    StationMerger merger(catalogue);
    MergeResult result;
    int done = 0;
    // The merge reaches the disk as one replacement of the catalogue: a crash half-way leaves
    // the catalogue as it was, and the same update is offered again.
    TzBulkChange bulk(catalogue.Dataset());
    update.First();
    while (!update.Eof()) {
        StationRecord station;
        station.URL = uUrl.AsString();
        station.Title = uTitle.AsString();
        station.Genre = uGenre.AsString();
        station.BitRate = static_cast<std::int16_t>(uBitRate.AsInteger());
        if (merger.Offer(station, window, blackList) == MergeOutcome::Added) ++result.added;
        else ++result.skipped;
        update.Next();
        if (onAdvance) onAdvance(++done);
    }
    bulk.Finish();
    return result;
}

}  // namespace wt
