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

// What each setting holds and what reading it gives while it is not set: the one table the
// help page's settings list is checked against. Every name of kAll has its row.
enum class SettingKind { Text, Lines, Integer, Boolean };
struct SettingInfo {
    const char* name;
    SettingKind kind;
    int defaultNumber;  // Integer and Boolean (0 or 1)
    const char* defaultText = "";  // Text: what an unset setting reads as; Lines read empty
};
inline constexpr SettingInfo kTable[] = {
    {kWorkingPath, SettingKind::Text, 0},
    {kBlackList, SettingKind::Lines, 0},
    {kWishes, SettingKind::Lines, 0},
    {kDatabaseVersion, SettingKind::Integer, 1},
    {kFavorites, SettingKind::Lines, 0},
    {kRippedSongs, SettingKind::Integer, 0},
    {kRippedWishedSongs, SettingKind::Integer, 0},
    {kHigherEnabled, SettingKind::Boolean, 0},
    {kHigherIndex, SettingKind::Integer, 0},
    {kLowerEnabled, SettingKind::Boolean, 0},
    {kLowerIndex, SettingKind::Integer, 0},
    {kAutoUpdate, SettingKind::Boolean, 0},
    {kUpdateServer, SettingKind::Text, 0},
    {kProductSite, SettingKind::Text, 0},
    {kAdvertSite, SettingKind::Text, 0},
    {kDirectorySite, SettingKind::Text, 0},
    {kWishListingURL, SettingKind::Text, 0, "http://dir.xiph.org/yp.xml"},
    {kWishListingInterval, SettingKind::Integer, 15 * 60},  // seconds
    {kWishStatusInterval, SettingKind::Integer, 30},        // seconds
    {kWishStatusServers, SettingKind::Integer, 50},
    {kWishMatches, SettingKind::Lines, 0},
    {kSchedules, SettingKind::Lines, 0},
};

// The row of a fixed name, for the modules that read it with its default.
constexpr const SettingInfo& RowOf(std::string_view name) {
    for (const SettingInfo& row : kTable)
        if (name == row.name) return row;
    throw "not a setting of the table";
}
// The row of a fixed name (exact spelling), or nullptr.
const SettingInfo* Find(std::string_view name);

// Whether name is one of the fixed names above, ignoring letter case.
bool IsFixedName(std::string_view name);

}  // namespace wt::setting
