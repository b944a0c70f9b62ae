#pragma once
// The live now-playing sources as the settings configure them.
#include <cstdint>
#include <string>
#include <vector>

#include "net/HttpClient.h"
#include "settings/SettingNames.h"
#include "settings/zIniData.h"
#include "wishes/LiveWishWatch.h"
#include "wishes/StatusPageSource.h"

namespace wt {

// The public Icecast directory's listing of every stream.
inline constexpr const char* kDefaultWishListingURL = setting::RowOf(setting::kWishListingURL).defaultText;
inline constexpr std::int32_t kDefaultWishListingIntervalSeconds = setting::RowOf(setting::kWishListingInterval).defaultNumber;
inline constexpr std::int32_t kDefaultWishStatusIntervalSeconds = setting::RowOf(setting::kWishStatusInterval).defaultNumber;
inline constexpr std::int32_t kDefaultWishStatusServers = setting::RowOf(setting::kWishStatusServers).defaultNumber;

struct LiveWishSettings {
    std::string listingUrl = kDefaultWishListingURL;  // not an http(s) address ("off"): no listing
    std::uint32_t listingIntervalMs = kDefaultWishListingIntervalSeconds * 1000u;
    std::uint32_t statusIntervalMs = kDefaultWishStatusIntervalSeconds * 1000u;
    int statusServers = kDefaultWishStatusServers;
};

// "WishListingURL", "WishListingInterval" and "WishStatusInterval" (seconds, at least 1) and
// "WishStatusServers" (0 turns the status pages off).
LiveWishSettings ReadLiveWishSettings(TzIniData& settings);

// Adds the listing (when its address is http or https) and the status pages of stations (when
// there are any and servers are allowed) to watch. client must outlive watch.
void AddLiveSources(LiveWishWatch& watch, const net::HttpClient& client, const LiveWishSettings& settings,
                    const std::vector<WatchedStation>& stations);

}  // namespace wt
