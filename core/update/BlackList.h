#pragma once
// The blacklist as the settings keep it: the "BlackList" text, one station title per line.
#include <string>
#include <vector>

namespace wt {

class TzIniData;

std::vector<std::string> LoadBlackList(TzIniData& settings);
// Writes every entry followed by CR LF; an empty list removes the setting.
void StoreBlackList(TzIniData& settings, const std::vector<std::string>& blackList);

}  // namespace wt
