#pragma once
// The names of the program's own settings in cfg.dat, in one table that every module uses. A
// favourite group's name is a setting name too, in the same name space, so a group named as one
// of these (letter case ignored, as the store ignores it) would overwrite that setting.
#include <array>
#include <string_view>

namespace wt::setting {

inline constexpr const char* kWorkingPath = "WorkingPath";
inline constexpr const char* kBlackList = "BlackList";
inline constexpr const char* kWishes = "Wishes";
inline constexpr const char* kDatabaseVersion = "DatabaseVersion";
inline constexpr const char* kFavorites = "Favorites";
inline constexpr const char* kRippedSongs = "RippedSongs";
inline constexpr const char* kRippedWishedSongs = "RippedWishedSongs";
inline constexpr const char* kHigherEnabled = "HigherEnabled";
inline constexpr const char* kHigherIndex = "HigherIndex";
inline constexpr const char* kLowerEnabled = "LowerEnabled";
inline constexpr const char* kLowerIndex = "LowerIndex";
inline constexpr const char* kAutoUpdate = "AutoUpdate";
inline constexpr const char* kSchedules = "Schedules";
// The servers and sites: unset by default, a user or a test points them at a web server.
inline constexpr const char* kUpdateServer = "UpdateServer";
inline constexpr const char* kProductSite = "ProductSite";
inline constexpr const char* kAdvertSite = "AdvertSite";
inline constexpr const char* kDirectorySite = "DirectorySite";
inline constexpr const char* kWishListingURL = "WishListingURL";
inline constexpr const char* kWishListingInterval = "WishListingInterval";
inline constexpr const char* kWishStatusInterval = "WishStatusInterval";
inline constexpr const char* kWishStatusServers = "WishStatusServers";
inline constexpr const char* kWishMatches = "WishMatches";

inline constexpr std::array kAll = {
    kWorkingPath,  kBlackList,     kWishes,      kDatabaseVersion, kFavorites,   kRippedSongs,
    kRippedWishedSongs, kHigherEnabled, kHigherIndex, kLowerEnabled, kLowerIndex, kAutoUpdate,
    kUpdateServer, kProductSite,   kAdvertSite,  kDirectorySite,
    kWishListingURL, kWishListingInterval, kWishStatusInterval, kWishStatusServers, kWishMatches,
    kSchedules,
};

// Whether name is one of the fixed names above, ignoring letter case.
bool IsFixedName(std::string_view name);

}  // namespace wt::setting
