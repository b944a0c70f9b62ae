#include "SettingNames.h"

#include "platform/StringList.h"

#include <algorithm>

namespace wt::setting {

bool IsFixedName(std::string_view name) {
    return std::any_of(kAll.begin(), kAll.end(), [&](const char* fixed) { return EqualsIgnoreCase(name, fixed); });
}

}  // namespace wt::setting
