#pragma once
// Longest-match search over the sliding window, by hash chains of 3-byte prefixes.
//
// Positions are absolute (counted from the start of the input), so the chains need no
// rewriting when the window slides. A chain is followed from the most recent position back
// to 8191 bytes behind, so ties go to the nearest match, whose offset codes shortest.
#include <cstdint>

namespace wt::lha {

class MatchFinder {
public:
    MatchFinder();

    struct Match {
        int length = 0;
        std::int32_t position = 0;  // absolute
    };

    // Records `position` (its bytes at `text`) and, when `search` is set, first returns the
    // longest earlier match of at most `maxLength` bytes. `base` is the absolute position of
    // text index 0; the 256 bytes after `position` must be readable. `goodLength` is the length
    // already in hand: when it is long, a shorter part of the chain is searched.
    Match Insert(const std::uint8_t* text, std::int32_t base, std::int32_t position, int maxLength, bool search,
                 int goodLength = 0);

private:
    static constexpr int kHashBits = 15;
    static constexpr int kChainLimit = 64;
    static constexpr int kShortChainLimit = 32;
    static constexpr int kGoodLength = 8;
    static unsigned Hash(const std::uint8_t* p) {
        return ((static_cast<unsigned>(p[0]) << 10) ^ (static_cast<unsigned>(p[1]) << 5) ^ p[2]) &
               ((1u << kHashBits) - 1);
    }

    std::int32_t head_[1 << kHashBits];
    std::int32_t prev_[8192];
};

}  // namespace wt::lha
