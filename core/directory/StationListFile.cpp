#include "directory/StationListFile.h"

#include "directory/StationJson.h"

#include <map>
#include <string>
#include "net/HttpClient.h"
#include "platform/StringList.h"
#include "platform/TextEncoding.h"

namespace wt {

namespace {

std::string_view SkipBomAndSpace(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    const auto start = text.find_first_not_of(" \t\r\n");
    return start == std::string_view::npos ? std::string_view() : text.substr(start);
}

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

std::string_view FirstLine(std::string_view text) { return text.substr(0, text.find_first_of("\r\n")); }

StationListKind KindByExtension(std::string_view fileName) {
    const auto dot = fileName.rfind('.');
    if (dot == std::string_view::npos) return StationListKind::Unknown;
    const std::string ext = AsciiLower(fileName.substr(dot + 1));
    if (ext == "m3u" || ext == "m3u8") return StationListKind::M3u;
    if (ext == "pls") return StationListKind::Pls;
    if (ext == "xspf") return StationListKind::Xspf;
    if (ext == "json") return StationListKind::Json;
    if (ext == "csv") return StationListKind::Csv;
    return StationListKind::Unknown;
}

}  // namespace

StationListKind DetectStationListKind(std::string_view content, std::string_view fileName) {
    const std::string_view text = SkipBomAndSpace(content);
    if (StartsWithIgnoreCase(text, "[playlist]")) return StationListKind::Pls;
    if (text.starts_with('[') || text.starts_with('{')) return StationListKind::Json;
    if (StartsWithIgnoreCase(text, "#EXTM3U")) return StationListKind::M3u;
    if (text.starts_with('<') && text.substr(0, 4096).find("<playlist") != std::string_view::npos)
        return StationListKind::Xspf;
    const std::string_view first = Trim(FirstLine(text));
    if (first == "ID,Genre,Title,BitRate,URL" || first == "Genre,Title,BitRate,URL") return StationListKind::Csv;
    if (net::IsHttpUrl(first) || StartsWithIgnoreCase(first, "#EXTINF")) return StationListKind::M3u;
    return KindByExtension(fileName);
}

const char* StationListKindName(StationListKind kind) {
    switch (kind) {
        case StationListKind::M3u: return "M3U playlist";
        case StationListKind::Pls: return "PLS playlist";
        case StationListKind::Xspf: return "XSPF playlist";
        case StationListKind::Json: return "radio-browser JSON export";
        case StationListKind::Csv: return "CSV station list";
        case StationListKind::Unknown: break;
    }
    return "unknown";
}

std::string StationListText(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    return DecodeText(bytes);
}

std::vector<DirectoryStation> ParseM3u(std::string_view bytes) {
    const std::string text = StationListText(bytes);
    std::vector<DirectoryStation> stations;
    std::string title;
    for (const std::string& raw : SplitLines(text)) {
        const std::string_view line = Trim(raw);
        if (line.empty()) continue;
        if (StartsWithIgnoreCase(line, "#EXTINF:")) {
            // #EXTINF:duration[ attributes],title: the title follows the first comma outside quotes.
            bool quoted = false;
            std::size_t comma = std::string_view::npos;
            for (std::size_t i = 8; i < line.size(); ++i) {
                if (line[i] == '"') quoted = !quoted;
                else if (line[i] == ',' && !quoted) { comma = i; break; }
            }
            title = comma == std::string_view::npos ? std::string() : std::string(Trim(line.substr(comma + 1)));
            continue;
        }
        if (line.starts_with('#')) continue;
        DirectoryStation s;
        s.url = std::string(line);
        s.name = title.empty() ? s.url : title;
        title.clear();
        stations.push_back(std::move(s));
    }
    return stations;
}

std::vector<DirectoryStation> ParsePls(std::string_view bytes) {
    const std::string text = StationListText(bytes);
    // FileN and TitleN of section [playlist], in the order of N; the first key of a name counts.
    std::map<long, DirectoryStation> entries;
    std::map<long, bool> titled;
    bool inPlaylist = false;
    for (const std::string& raw : SplitLines(text)) {
        const std::string_view line = Trim(raw);
        if (line.empty() || line.starts_with(';')) continue;
        if (line.starts_with('[')) {
            inPlaylist = StartsWithIgnoreCase(line, "[playlist]");
            continue;
        }
        const auto eq = line.find('=');
        if (!inPlaylist || eq == std::string_view::npos) continue;
        const std::string_view key = Trim(line.substr(0, eq));
        std::string_view value = Trim(line.substr(eq + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        const bool isFile = StartsWithIgnoreCase(key, "File");
        const bool isTitle = StartsWithIgnoreCase(key, "Title");
        if (!isFile && !isTitle) continue;
        const std::string_view digits = key.substr(isFile ? 4 : 5);
        if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string_view::npos)
            continue;
        const long n = std::stol(std::string(digits));
        DirectoryStation& entry = entries[n];
        if (isFile && entry.url.empty()) entry.url = std::string(value);
        if (isTitle && !titled[n]) {
            entry.name = std::string(value);
            titled[n] = true;
        }
    }
    std::vector<DirectoryStation> stations;
    for (auto& [n, entry] : entries) {
        if (entry.url.empty()) continue;  // a title without its file
        if (entry.name.empty()) entry.name = entry.url;
        stations.push_back(std::move(entry));
    }
    return stations;
}

std::vector<DirectoryStation> ReadStationList(std::string_view content, std::string_view fileName) {
    switch (DetectStationListKind(content, fileName)) {
        case StationListKind::M3u: return ParseM3u(content);
        case StationListKind::Pls: return ParsePls(content);
        case StationListKind::Xspf: return ParseXspf(content);
        case StationListKind::Json: return ParseStationJson(content);
        case StationListKind::Csv:
            throw DirectoryError("A CSV station list is read by the catalogue tool's CSV import.");
        case StationListKind::Unknown: break;
    }
    throw DirectoryError("Not a station list: expected an M3U, PLS or XSPF playlist or a radio-browser JSON export.");
}

}  // namespace wt
