#include "catalogue/StationCatalogue.h"

#include <algorithm>

#include "platform/StringList.h"

namespace wt {

StationFields DeclareStationFields(TzDataset& dataset) {
    StationFields f;
    f.ID = &dataset.AddField("ID", FieldType::ftInteger);
    f.Genre = &dataset.AddField("Genre", FieldType::ftString, kGenreSize);
    f.Title = &dataset.AddField("Title", FieldType::ftString, kTitleSize);
    f.BitRate = &dataset.AddField("BitRate", FieldType::ftSmallint);
    f.URL = &dataset.AddField("URL", FieldType::ftString, kUrlSize);
    return f;
}

StationRecord ReadStation(const StationFields& fields) {
    StationRecord s;
    s.ID = fields.ID->AsInteger();
    s.Genre = fields.Genre->AsString();
    s.Title = fields.Title->AsString();
    s.BitRate = static_cast<std::int16_t>(fields.BitRate->AsInteger());
    s.URL = fields.URL->AsString();
    return s;
}

void WriteStation(const StationFields& fields, const StationRecord& station) {
    fields.ID->SetAsInteger(station.ID);
    fields.Genre->SetAsString(station.Genre);
    fields.Title->SetAsString(station.Title);
    fields.BitRate->SetAsInteger(station.BitRate);
    fields.URL->SetAsString(station.URL);
}

StationCatalogue::StationCatalogue(const std::string& programFolder, const std::string& fileName)
    : dataset_("zDataset1") {
    dataset_.SetProgramFolder(programFolder);
    dataset_.SetFileName(fileName);
    dataset_.SetIndexFields("ID");
    fields_ = DeclareStationFields(dataset_);
}

void StationCatalogue::SetAfterChange(DataSetNotifyEvent handler) {
    dataset_.AfterOpen = handler;
    dataset_.AfterInsert = handler;
    dataset_.AfterPost = handler;
    dataset_.AfterDelete = std::move(handler);
}

void StationCatalogue::ForEachStation(const std::function<void(const StationRecord&)>& visit) {
    for (dataset_.First(); !dataset_.Eof(); dataset_.Next()) visit(ReadStation(fields_));
}

std::vector<StationRecord> StationCatalogue::StationsOfGenre(const std::string& genre) {
    std::vector<StationRecord> stations;
    for (dataset_.First(); !dataset_.Eof(); dataset_.Next())
        if (fields_.Genre->AsString() == genre) stations.push_back(ReadStation(fields_));
    return stations;
}

bool StationCatalogue::GenreExists(const std::string& genre) {
    for (dataset_.First(); !dataset_.Eof(); dataset_.Next())
        if (fields_.Genre->AsString() == genre) return true;
    return false;
}

std::vector<std::string> StationCatalogue::Genres() {
    std::vector<std::string> genres;  // kept sorted ignoring case
    for (dataset_.First(); !dataset_.Eof(); dataset_.Next()) {
        std::string genre = fields_.Genre->AsString();
        auto at = std::lower_bound(genres.begin(), genres.end(), genre, [](const std::string& a, const std::string& b) {
            return CompareIgnoreCase(a, b) < 0;
        });
        if (at == genres.end() || !EqualsIgnoreCase(*at, genre)) genres.insert(at, std::move(genre));
    }
    return genres;
}

bool StationCatalogue::DataSetGoto(std::int32_t id) {
    for (dataset_.First(); !dataset_.Eof(); dataset_.Next())
        if (fields_.ID->AsInteger() == id) return true;
    return false;
}

bool StationCatalogue::FindStationByURL(const std::string& url) {
    return dataset_.FindFirstValue(*fields_.URL, url);
}

std::int32_t StationCatalogue::NextStationID() {
    const std::uint64_t changes = dataset_.ChangeCount();
    if (maxIdKnown_ && changes == maxIdChangeCount_ + 1 && dataset_.LastChangeWasNewRecord() &&
        !dataset_.Filtered()) {
        // Only a new station was posted since the last walk: it alone can raise the largest ID.
        maxId_ = std::max(maxId_, fields_.ID->IntegerIn(dataset_.StoredRecord(dataset_.LastPostedIndex())));
        maxIdChangeCount_ = changes;
    } else if (!maxIdKnown_ || changes != maxIdChangeCount_ || dataset_.Filtered()) {
        std::int64_t largest = 0;
        for (dataset_.First(); !dataset_.Eof(); dataset_.Next())
            largest = std::max<std::int64_t>(largest, fields_.ID->AsInteger());
        maxId_ = largest;
        maxIdChangeCount_ = changes;
        maxIdKnown_ = !dataset_.Filtered();
        return static_cast<std::int32_t>(maxId_ + 1);
    }
    dataset_.Last();  // where the walk would have left the cursor: at end of data
    return static_cast<std::int32_t>(maxId_ + 1);
}

std::int32_t StationCatalogue::AddStation(const StationRecord& station) {
    std::int32_t id = NextStationID();
    dataset_.AddRecord();
    StationRecord s = station;
    s.ID = id;
    WriteStation(fields_, s);
    dataset_.Post();
    return id;
}

}  // namespace wt
