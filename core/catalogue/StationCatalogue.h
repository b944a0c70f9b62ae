#pragma once
// The station catalogue "data.db": five fields (ID, Genre, Title, BitRate, URL), kept in
// ascending ID order by the data set, and the queries the rest of the program runs on it.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "catalogue/zDataset.h"

namespace wt {

// One station of the catalogue.
struct StationRecord {
    std::int32_t ID = 0;
    std::string Genre;    // at most 25 bytes
    std::string Title;    // at most 200 bytes
    std::int16_t BitRate = 0;
    std::string URL;      // at most 200 bytes
};

inline constexpr std::int32_t kGenreSize = 25;
inline constexpr std::int32_t kTitleSize = 200;
inline constexpr std::int32_t kUrlSize = 200;
inline constexpr const char* kCatalogueFileName = "data.db";

// The five field objects of a data set that carries stations, in descriptor order.
struct StationFields {
    TzField* ID = nullptr;
    TzField* Genre = nullptr;
    TzField* Title = nullptr;
    TzField* BitRate = nullptr;
    TzField* URL = nullptr;
};

// Declares the five station fields on a closed data set (the field objects of both the
// catalogue and the downloaded update).
StationFields DeclareStationFields(TzDataset& dataset);
// The values of the data set's current record.
StationRecord ReadStation(const StationFields& fields);
// Sets the five fields of the record being inserted or edited.
void WriteStation(const StationFields& fields, const StationRecord& station);

class StationCatalogue {
public:
    // The catalogue over programFolder + fileName, named "zDataset1", ordered by ID.
    explicit StationCatalogue(const std::string& programFolder, const std::string& fileName = kCatalogueFileName);

    TzDataset& Dataset() { return dataset_; }
    TzField& DBID() { return *fields_.ID; }
    TzField& DBGenre() { return *fields_.Genre; }
    TzField& DBTitle() { return *fields_.Title; }
    TzField& DBBitRate() { return *fields_.BitRate; }
    TzField& DBURL() { return *fields_.URL; }
    const StationFields& Fields() const { return fields_; }

    // Opens the catalogue, creating an empty 229-byte file when it is missing.
    void Open() { dataset_.Open(); }
    void Close() { dataset_.Close(); }

    // The handler of AfterOpen, AfterInsert, AfterPost and AfterDelete (the station count).
    void SetAfterChange(DataSetNotifyEvent handler);

    // Walks every station from the first in ID order; the cursor ends at end of data.
    void ForEachStation(const std::function<void(const StationRecord&)>& visit);
    // Stations whose Genre equals genre exactly (case-sensitive), in catalogue order.
    std::vector<StationRecord> StationsOfGenre(const std::string& genre);
    bool GenreExists(const std::string& genre);
    // The distinct genres, sorted ignoring case; of forms differing only in case the first
    // met in catalogue order stays.
    std::vector<std::string> Genres();
    // Moves to the station with this ID; when there is none the cursor ends at end of data.
    // Returns whether it was found.
    bool DataSetGoto(std::int32_t id);
    // Makes the first station with exactly this URL current; the cursor stays when none has.
    bool FindStationByURL(const std::string& url);
    // The largest ID plus one (1 when empty); leaves the cursor at end of data like a walk.
    std::int32_t NextStationID();
    // Adds a station with NextStationID; it becomes current. Returns its ID.
    std::int32_t AddStation(const StationRecord& station);
    // Deletes the current station; the one after it (or the new last) becomes current.
    void DeleteCurrentStation() { dataset_.Delete(); }
    StationRecord CurrentStation() const { return ReadStation(fields_); }
    std::int32_t StationCount() { return dataset_.RecordCount(); }

private:
    TzDataset dataset_;
    StationFields fields_;
    // The largest ID as of a change count, kept while only new stations are posted.
    std::uint64_t maxIdChangeCount_ = 0;
    std::int64_t maxId_ = 0;
    bool maxIdKnown_ = false;
};

}  // namespace wt
