#include "FavoriteGroups.h"

#include "platform/StringList.h"

#include <algorithm>

namespace wt::ui {

namespace {
const char kFavorites[] = "Favorites";

// Every setting of the program; a group of one of these names would overwrite it.
const char* const kReserved[] = {
    "Favorites", "BlackList", "Wishes", "WorkingPath", "DatabaseVersion", "RippedSongs",
    "RippedWishedSongs", "AutoUpdate", "HigherEnabled", "LowerEnabled", "HigherIndex",
    "LowerIndex", "UpdateServer", "DirectoryServer", "AdvertSite", "ProductSite",
};
}  // namespace

std::vector<std::string> FavoriteGroups::Names() { return SplitLines(settings_.ReadString(kFavorites, "")); }

bool FavoriteGroups::IsReservedName(const std::string& name) {
    return std::any_of(std::begin(kReserved), std::end(kReserved),
                       [&](const char* reserved) { return EqualsIgnoreCase(name, reserved); });
}

void FavoriteGroups::AddStation(const std::string& group, std::int32_t stationId) {
    auto names = Names();
    bool known = std::any_of(names.begin(), names.end(),
                             [&](const std::string& n) { return EqualsIgnoreCase(n, group); });
    if (!known) {
        names.push_back(group);
        settings_.WriteString(kFavorites, JoinLinesCrLf(names));
    }
    auto members = SplitLines(settings_.ReadString(group, ""));
    members.push_back(std::to_string(stationId));
    settings_.WriteStrings(group, members);
}

bool FavoriteGroups::RemoveStation(const std::string& group, std::int32_t stationId, bool* groupDeleted) {
    *groupDeleted = false;
    auto members = SplitLines(settings_.ReadString(group, ""));
    auto it = std::find(members.begin(), members.end(), std::to_string(stationId));
    if (it == members.end()) return false;
    members.erase(it);
    if (!members.empty()) {
        settings_.WriteStrings(group, members);
        return true;
    }
    DeleteGroup(group);
    *groupDeleted = true;
    return true;
}

void FavoriteGroups::DeleteGroup(const std::string& group) {
    settings_.DeleteValue(group);
    RemoveName(group);
}

void FavoriteGroups::RemoveName(const std::string& group) {
    auto names = Names();
    auto it = std::find_if(names.begin(), names.end(),
                           [&](const std::string& n) { return EqualsIgnoreCase(n, group); });
    if (it == names.end()) return;
    names.erase(it);
    settings_.WriteString(kFavorites, JoinLinesCrLf(names));
}

}  // namespace wt::ui
