#include "update/BlackList.h"

#include "platform/StringList.h"
#include "settings/zIniData.h"

namespace wt {

std::vector<std::string> LoadBlackList(TzIniData& settings) { return SplitLines(settings.ReadString("BlackList", "")); }

void StoreBlackList(TzIniData& settings, const std::vector<std::string>& blackList) {
    settings.WriteStrings("BlackList", blackList);
}

}  // namespace wt
