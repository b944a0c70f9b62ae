#include "update/BlackList.h"

#include "platform/StringList.h"
#include "settings/SettingNames.h"
#include "settings/zIniData.h"

namespace wt {

std::vector<std::string> LoadBlackList(TzIniData& settings) { return SplitLines(settings.ReadString(setting::kBlackList, "")); }

void StoreBlackList(TzIniData& settings, const std::vector<std::string>& blackList) {
    settings.WriteStrings(setting::kBlackList, blackList);
}

}  // namespace wt
