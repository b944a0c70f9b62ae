// Servers' status pages (JSON) and the addresses they name come from the network: any bytes
// must parse without a crash.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "wishes/StatusPages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto mounts = wt::ParseIcecastStatus(text))
        for (const wt::StatusMount& mount : *mounts) {
            (void)wt::ServerRoot(mount.listenUrl);
            (void)wt::UrlPath(mount.listenUrl);
        }
    (void)wt::LooksLikeIcecastStatus(text);
    if (const auto stats = wt::ParseShoutcastStats(text)) (void)wt::UrlPath(stats->listenUrl);
    (void)wt::ServerRoot(text);
    (void)wt::UrlPath(text);
    return 0;
}
