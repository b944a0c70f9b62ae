#pragma once
// Adding directory stations and imported lists to the catalogue. Each station is checked for
// what the catalogue can hold and the program can record, then offered through the update's
// merge, so known URLs and blacklisted titles are skipped exactly as an update skips them.
#include <string>
#include <vector>

#include "directory/DirectoryStation.h"

namespace wt {

class StationCatalogue;
class StationMerger;
struct StationRecord;

// Why a station is not added although its list holds it.
enum class StationRefusal { None, NoAddress, NotHttp, UrlTooLong, Hls, Playlist };

// The reason as the user reads it, naming the station.
std::string RefusalMessage(StationRefusal refusal, const DirectoryStation& station);

// What the station can be refused for, without asking the catalogue. An HLS stream is one the
// directory marks so or whose address names an .m3u8 playlist.
StationRefusal CheckStation(const DirectoryStation& station);
bool IsHlsStation(const DirectoryStation& station);

// A catalogue bit rate: values outside 0..32767 (bogus ones are common) become 0, "unknown".
std::int16_t CatalogueBitRate(std::int64_t bitrate);

// The catalogue record for a station under genre (cut to the field's size by the catalogue).
StationRecord ToCatalogueStation(const DirectoryStation& station, const std::string& genre);

struct ImportSummary {
    int offered = 0;
    int added = 0;
    int known = 0;        // URL already in the catalogue (or earlier in the same list)
    int blacklisted = 0;  // title on the blacklist
    int refused = 0;      // every refusal below together
    int hls = 0;
    int urlTooLong = 0;
    int notStream = 0;    // no address, not http(s), or a playlist instead of a stream
    int bitRateUnknown = 0;  // added with bit rate 0 because the list's figure was out of range
    std::vector<std::string> refusals;  // one message per refused station, in list order
    std::vector<std::string> addedGenres;
};

// Adds stations under genre; an empty genre takes each station's first tag, and "Imported"
// when it has none.
ImportSummary AddStationsToCatalogue(StationCatalogue& catalogue, const std::vector<DirectoryStation>& stations,
                                     const std::string& genre, const std::vector<std::string>& blackList);
// Offers through an existing merger (several batches into one catalogue).
void AddStations(StationMerger& merger, const std::vector<DirectoryStation>& stations, const std::string& genre,
                 const std::vector<std::string>& blackList, ImportSummary& summary);

// The summary as lines for a message box or a terminal: the counts, then each refusal.
std::string FormatImportSummary(const ImportSummary& summary);

}  // namespace wt
