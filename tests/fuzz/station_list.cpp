// Directory answers and station list files come from the network or from anywhere on disk:
// any bytes must parse, as every kind of list, without a crash or an endless loop.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "directory/CatalogueImport.h"
#include "directory/StationJson.h"
#include "directory/StationListFile.h"

namespace {

void Check(const std::vector<wt::DirectoryStation>& stations) {
    for (const wt::DirectoryStation& s : stations) {
        (void)wt::CheckStation(s);
        (void)wt::CatalogueBitRate(s.bitrate);
        (void)s.FirstTag();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)wt::DetectStationListKind(bytes, "list.m3u");
    try {
        Check(wt::ParseStationJson(bytes));
    } catch (const wt::DirectoryError&) {
    }
    Check(wt::ParseM3u(bytes));
    Check(wt::ParsePls(bytes));
    Check(wt::ParseXspf(bytes));
    return 0;
}
