#pragma once
// A catalogue file as the update server offers it, for the tests that serve one.
#include "catalogue/StationCatalogue.h"

#include <string>
#include <vector>

namespace wt::test {

// Writes a data set file of stations in the catalogue's format, as the update server holds it.
void WriteStationFile(const std::string& path, const std::vector<StationRecord>& stations);

}  // namespace wt::test
