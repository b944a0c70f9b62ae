#include "wishes/LiveWishSetup.h"

#include <algorithm>

#include "settings/SettingNames.h"
#include "wishes/ListingSource.h"

namespace wt {

namespace {

std::uint32_t Seconds(TzIniData& settings, const char* name, std::int32_t fallback) {
    return static_cast<std::uint32_t>(std::max<std::int32_t>(1, settings.ReadInteger(name, fallback))) * 1000u;
}

}  // namespace

LiveWishSettings ReadLiveWishSettings(TzIniData& settings) {
    LiveWishSettings out;
    out.listingUrl = settings.ReadString(setting::kWishListingURL, kDefaultWishListingURL);
    out.listingIntervalMs = Seconds(settings, setting::kWishListingInterval, kDefaultWishListingIntervalSeconds);
    out.statusIntervalMs = Seconds(settings, setting::kWishStatusInterval, kDefaultWishStatusIntervalSeconds);
    out.statusServers = std::max<std::int32_t>(0, settings.ReadInteger(setting::kWishStatusServers, kDefaultWishStatusServers));
    return out;
}

void AddLiveSources(LiveWishWatch& watch, const net::HttpClient& client, const LiveWishSettings& settings,
                    const std::vector<WatchedStation>& stations) {
    if (net::IsHttpUrl(settings.listingUrl)) {
        ListingOptions options;
        options.url = settings.listingUrl;
        options.intervalMs = settings.listingIntervalMs;
        watch.AddSource(std::make_unique<DirectoryListingSource>(client, options));
    }
    if (settings.statusServers > 0 && !stations.empty()) {
        StatusPageOptions options;
        options.intervalMs = settings.statusIntervalMs;
        options.maxServers = settings.statusServers;
        watch.AddSource(std::make_unique<StatusPageSource>(client, stations, options));
    }
}

}  // namespace wt
