#pragma once
// Station lists from files: extended M3U (#EXTINF titles), PLS, XSPF and the directory's JSON
// exports. The kind is taken from the content; the file name's extension only decides when the
// content says nothing. Entries keep only what the list holds (mostly a title and an address).
#include <string>
#include <string_view>
#include <vector>

#include "directory/DirectoryStation.h"

namespace wt {

enum class StationListKind { Unknown, M3u, Pls, Xspf, Json, Csv };

StationListKind DetectStationListKind(std::string_view content, std::string_view fileName = {});
const char* StationListKindName(StationListKind kind);

// The bytes as UTF-8 text without a byte order mark; bytes that are not UTF-8 are read as
// Windows-1252.
std::string StationListText(std::string_view bytes);

std::vector<DirectoryStation> ParseM3u(std::string_view text);
std::vector<DirectoryStation> ParsePls(std::string_view text);
std::vector<DirectoryStation> ParseXspf(std::string_view text);

// Parses content as the kind it shows. Throws DirectoryError for content of no known kind (CSV
// included: its columns are the catalogue's own and it has a reader of its own).
std::vector<DirectoryStation> ReadStationList(std::string_view content, std::string_view fileName = {});

}  // namespace wt
