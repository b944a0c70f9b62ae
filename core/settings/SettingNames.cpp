#include "SettingNames.h"

#include "platform/StringList.h"

#include <algorithm>

namespace wt::setting {

bool IsFixedName(std::string_view name) {
    return std::any_of(kAll.begin(), kAll.end(), [&](const char* fixed) { return EqualsIgnoreCase(name, fixed); });
}

const SettingInfo* Find(std::string_view name) {
    for (const SettingInfo& row : kTable)
        if (name == row.name) return &row;
    return nullptr;
}

}  // namespace wt::setting
