#pragma once
// Importing a station list file into the catalogue: read, recognise, check and merge.
#include <string>
#include <vector>

#include "directory/CatalogueImport.h"
#include "directory/StationListFile.h"

namespace wt {

// Larger files are refused unread: no station list comes near it.
inline constexpr std::size_t kMaxStationListBytes = 64u << 20;

// The file's bytes; throws DirectoryError with a readable reason when it cannot be read or is
// larger than kMaxStationListBytes.
std::string ReadStationListFile(const std::string& path);

// Reads path as an M3U, PLS, XSPF or radio-browser JSON list and adds its stations (see
// AddStationsToCatalogue). Throws DirectoryError when the file cannot be read or holds no list
// of a known kind; the catalogue is then unchanged.
ImportSummary ImportStationListFile(StationCatalogue& catalogue, const std::string& path, const std::string& genre,
                                    const std::vector<std::string>& blackList);

}  // namespace wt
