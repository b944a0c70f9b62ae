#include "directory/CatalogueImport.h"

#include <algorithm>

#include "catalogue/StationCatalogue.h"
#include "net/HttpClient.h"
#include "platform/StringList.h"
#include "update/StationMerge.h"

namespace wt {

namespace {

constexpr const char* kDefaultImportGenre = "Imported";

std::string PathOf(const std::string& url) {
    std::string path = url.substr(0, url.find_first_of("?#"));
    return AsciiLower(path);
}

bool EndsWith(const std::string& s, std::string_view suffix) { return s.ends_with(suffix); }

std::string Plural(int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

bool IsHlsStation(const DirectoryStation& s) { return s.hls || EndsWith(PathOf(s.StreamUrl()), ".m3u8"); }

StationRefusal CheckStation(const DirectoryStation& s) {
    const std::string& url = s.StreamUrl();
    if (url.empty()) return StationRefusal::NoAddress;
    if (!net::IsHttpUrl(url)) return StationRefusal::NotHttp;
    if (IsHlsStation(s)) return StationRefusal::Hls;
    const std::string path = PathOf(url);
    if (EndsWith(path, ".m3u") || EndsWith(path, ".pls") || EndsWith(path, ".xspf") || EndsWith(path, ".asx"))
        return StationRefusal::Playlist;
    if (url.size() > static_cast<std::size_t>(kUrlSize)) return StationRefusal::UrlTooLong;
    return StationRefusal::None;
}

std::string RefusalMessage(StationRefusal refusal, const DirectoryStation& s) {
    const std::string who = "\"" + s.name + "\": ";
    switch (refusal) {
        case StationRefusal::None: return {};
        case StationRefusal::NoAddress: return who + "no stream address.";
        case StationRefusal::NotHttp: return who + "not an http or https stream address.";
        case StationRefusal::UrlTooLong:
            return who + "its stream address has " + std::to_string(s.StreamUrl().size()) +
                   " characters; the catalogue holds at most " + std::to_string(kUrlSize) + ".";
        case StationRefusal::Hls: return who + "an HLS stream, which cannot be recorded.";
        case StationRefusal::Playlist: return who + "its address is a playlist, not a stream.";
    }
    return {};
}

std::int16_t CatalogueBitRate(std::int64_t bitrate) {
    return bitrate < 0 || bitrate > 32767 ? std::int16_t{0} : static_cast<std::int16_t>(bitrate);
}

StationRecord ToCatalogueStation(const DirectoryStation& s, const std::string& genre) {
    StationRecord record;
    record.Genre = genre;
    record.Title = s.name.empty() ? s.StreamUrl() : s.name;
    record.URL = s.StreamUrl();
    record.BitRate = CatalogueBitRate(s.bitrate);
    return record;
}

void AddStations(StationMerger& merger, const std::vector<DirectoryStation>& stations, const std::string& genre,
                 const std::vector<std::string>& blackList, ImportSummary& summary) {
    const BitRateWindow everyBitRate;  // the user chose these stations: no bit-rate window
    for (const DirectoryStation& s : stations) {
        ++summary.offered;
        const StationRefusal refusal = CheckStation(s);
        if (refusal != StationRefusal::None) {
            ++summary.refused;
            if (refusal == StationRefusal::Hls) ++summary.hls;
            else if (refusal == StationRefusal::UrlTooLong) ++summary.urlTooLong;
            else ++summary.notStream;
            summary.refusals.push_back(RefusalMessage(refusal, s));
            continue;
        }
        std::string stationGenre = genre.empty() ? s.FirstTag() : genre;
        if (stationGenre.empty()) stationGenre = kDefaultImportGenre;
        const StationRecord record = ToCatalogueStation(s, stationGenre);
        switch (merger.Offer(record, everyBitRate, blackList)) {
            case MergeOutcome::Added:
                ++summary.added;
                if (record.BitRate == 0 && s.bitrate != 0) ++summary.bitRateUnknown;
                if (std::find(summary.addedGenres.begin(), summary.addedGenres.end(), stationGenre) ==
                    summary.addedGenres.end())
                    summary.addedGenres.push_back(stationGenre);
                break;
            case MergeOutcome::KnownUrl: ++summary.known; break;
            case MergeOutcome::Filtered: ++summary.blacklisted; break;
        }
    }
}

ImportSummary AddStationsToCatalogue(StationCatalogue& catalogue, const std::vector<DirectoryStation>& stations,
                                     const std::string& genre, const std::vector<std::string>& blackList) {
    StationMerger merger(catalogue);
    ImportSummary summary;
    AddStations(merger, stations, genre, blackList, summary);
    return summary;
}

std::string FormatImportSummary(const ImportSummary& s) {
    std::string text = s.added == s.offered
                           ? "Added " + Plural(s.added, "station", "stations") + "."
                           : "Added " + std::to_string(s.added) + " of " + Plural(s.offered, "station", "stations") + ".";
    if (s.known > 0) text += "\nSkipped " + Plural(s.known, "station", "stations") + " already in the catalogue.";
    if (s.blacklisted > 0) text += "\nSkipped " + Plural(s.blacklisted, "station", "stations") + " on the blacklist.";
    if (s.refused > 0) {
        text += "\nRefused " + Plural(s.refused, "station", "stations") + ":";
        if (s.hls > 0) text += " " + Plural(s.hls, "HLS stream", "HLS streams") + ",";
        if (s.urlTooLong > 0) text += " " + std::to_string(s.urlTooLong) + " with an address over 200 characters,";
        if (s.notStream > 0) text += " " + std::to_string(s.notStream) + " without a stream address,";
        text.back() = '.';
    }
    if (s.bitRateUnknown > 0)
        text += "\n" + Plural(s.bitRateUnknown, "station", "stations") +
                " added with bit rate 0 (unknown): the list's figure was outside 0 to 32767.";
    for (const std::string& refusal : s.refusals) text += "\nRefused " + refusal;
    return text;
}

}  // namespace wt
