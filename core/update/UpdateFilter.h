#pragma once
// Which stations of a downloaded catalogue the update takes: the blacklist and the bit-rate
// window the user set.
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace wt {

inline constexpr std::array<int, 10> BitRateSteps = {16, 24, 32, 48, 64, 96, 128, 160, 192, 256};

// The entry of BitRateSteps at index; an index outside 0..9 (never stored by the program) is
// taken as the nearest end of the list.
int BitRateStep(int index);

// True when some entry occurs in the title or the title occurs in the entry, both as exact,
// case-sensitive substrings. An empty title or entry matches nothing.
bool IsInBlackList(const std::vector<std::string>& entries, std::string_view title);

// The bit-rate window: both bounds are strict.
struct BitRateWindow {
    bool HigherEnabled = false;
    int HigherIndex = 0;
    bool LowerEnabled = false;
    int LowerIndex = 0;
    bool Admits(int bitRate) const;
};

bool IsUpdateCompatible(const BitRateWindow& window, const std::vector<std::string>& blackList, int bitRate,
                        std::string_view title);

}  // namespace wt
