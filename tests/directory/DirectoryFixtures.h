#pragma once
// The directory fixtures: stations.json is a search answer (and an export) full of odd data;
// and a server address that refuses connections.
#include <string>

#include "LoopbackHttpServer.h"
#include "directory/StationListImport.h"

namespace wt::testing {

inline std::string FixturePath(const std::string& name) { return std::string(WAVETRAP_DIRECTORY_FIXTURES) + "/" + name; }
inline std::string FixtureText(const std::string& name) { return ReadStationListFile(FixturePath(name)); }

// The base URL of a loopback port nothing listens on: a server's, after it stopped.
inline std::string RefusingServer() {
    test::LoopbackHttpServer gone;
    return gone.Url("");
}

}  // namespace wt::testing
