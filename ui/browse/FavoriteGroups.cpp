#include "FavoriteGroups.h"

#include "platform/StringList.h"
#include "settings/SettingNames.h"

#include <algorithm>

namespace wt::ui {

std::vector<std::string> FavoriteGroups::Names() { return SplitLines(settings_.ReadString(setting::kFavorites, "")); }

bool FavoriteGroups::IsReservedName(const std::string& name) { return setting::IsFixedName(name); }

void FavoriteGroups::AddStation(const std::string& group, std::int32_t stationId) {
    auto names = Names();
    bool known = std::any_of(names.begin(), names.end(),
                             [&](const std::string& n) { return EqualsIgnoreCase(n, group); });
    if (!known) {
        names.push_back(group);
        settings_.WriteString(setting::kFavorites, JoinLinesCrLf(names));
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
    settings_.WriteString(setting::kFavorites, JoinLinesCrLf(names));
}

}  // namespace wt::ui
