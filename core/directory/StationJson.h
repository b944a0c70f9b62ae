#pragma once
// The directory's JSON station format: an array of station objects, as its search answers and
// its exports hold it. Answers come from the network, so nothing in them is trusted: missing
// fields stay empty, numbers may come as text, and elements that are not objects are skipped.
#include <string_view>
#include <vector>

#include "directory/DirectoryStation.h"

namespace wt {

// Throws DirectoryError when the text is not JSON or not an array (an object with a
// "stations" array is accepted too). Bytes that are not UTF-8 are read as Windows-1252.
std::vector<DirectoryStation> ParseStationJson(std::string_view text);

}  // namespace wt
