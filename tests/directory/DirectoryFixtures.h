#pragma once
// The directory fixtures: stations.json is a search answer (and an export) full of odd data.
#include <string>

#include "directory/StationListImport.h"

namespace wt::testing {

inline std::string FixturePath(const std::string& name) { return std::string(WAVETRAP_DIRECTORY_FIXTURES) + "/" + name; }
inline std::string FixtureText(const std::string& name) { return ReadStationListFile(FixturePath(name)); }

}  // namespace wt::testing
