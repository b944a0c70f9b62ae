#pragma once
// The favourite groups in the settings store: "Favorites" lists the group names, one per
// line; each group's own setting, named as the group, lists its members' station IDs.
// Setting names ignore letter case, so group names are matched ignoring case too.
#include "settings/zIniData.h"

#include <cstdint>
#include <string>
#include <vector>

namespace wt::ui {

class FavoriteGroups {
public:
    explicit FavoriteGroups(TzIniData& settings) : settings_(settings) {}

    std::vector<std::string> Names();
    // A group name that would share its setting with one of the program's own settings.
    static bool IsReservedName(const std::string& name);
    // Adds the station to the group (created at the end of the list when new; a name that
    // differs from an existing group only in case goes to that group). The same station may
    // be listed twice.
    void AddStation(const std::string& group, std::int32_t stationId);
    // Removes the first occurrence of the station. Returns false when the group does not
    // list it. A group left empty is deleted; *groupDeleted tells.
    bool RemoveStation(const std::string& group, std::int32_t stationId, bool* groupDeleted);
    // Deletes the group's setting and its name from the list.
    void DeleteGroup(const std::string& group);

private:
    void RemoveName(const std::string& group);
    TzIniData& settings_;
};

}  // namespace wt::ui
