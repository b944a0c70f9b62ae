#include "update/UpdateFilter.h"

#include <algorithm>

namespace wt {

int BitRateStep(int index) { return BitRateSteps[static_cast<size_t>(std::clamp(index, 0, 9))]; }

bool IsInBlackList(const std::vector<std::string>& entries, std::string_view title) {
    if (title.empty()) return false;
    for (const std::string& entry : entries) {
        if (entry.empty()) continue;
        if (title.find(entry) != std::string_view::npos || std::string_view(entry).find(title) != std::string_view::npos)
            return true;
    }
    return false;
}

bool BitRateWindow::Admits(int bitRate) const {
    if (HigherEnabled && !(bitRate > BitRateStep(HigherIndex))) return false;
    if (LowerEnabled && !(bitRate < BitRateStep(LowerIndex))) return false;
    return true;
}

bool IsUpdateCompatible(const BitRateWindow& window, const std::vector<std::string>& blackList, int bitRate,
                        std::string_view title) {
    return window.Admits(bitRate) && !IsInBlackList(blackList, title);
}

}  // namespace wt
