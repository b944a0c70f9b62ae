#include "settings/MatchFinder.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <iterator>
#include <limits>

#include "settings/LhaFormat.h"

namespace wt::lha {

namespace {
constexpr std::int32_t kNone = std::numeric_limits<std::int32_t>::min() / 2;

// Length of the common prefix of a and b, at most `limit`; compares 8 bytes at a time
// (the first differing byte is the lowest set byte of the difference on little-endian).
int CommonPrefix(const std::uint8_t* a, const std::uint8_t* b, int limit) {
    int len = 0;
    if constexpr (std::endian::native == std::endian::little) {
        while (len + 8 <= limit) {
            std::uint64_t x, y;
            std::memcpy(&x, a + len, 8);
            std::memcpy(&y, b + len, 8);
            if (x != y) return len + (std::countr_zero(x ^ y) >> 3);
            len += 8;
        }
    }
    while (len < limit && a[len] == b[len]) ++len;
    return len;
}

}  // namespace

MatchFinder::MatchFinder() {
    std::fill(std::begin(head_), std::end(head_), kNone);
    std::fill(std::begin(prev_), std::end(prev_), kNone);
}

MatchFinder::Match MatchFinder::Insert(const std::uint8_t* text, std::int32_t base, std::int32_t position,
                                       int maxLength, bool search, int goodLength) {
    const std::uint8_t* here = text + (position - base);
    const unsigned h = Hash(here);
    Match best;
    if (search && maxLength >= kThreshold) {
        const std::int32_t oldest = position - (kDicSize - 1);
        std::int32_t candidate = head_[h];
        for (int chain = goodLength >= kGoodLength ? kShortChainLimit : kChainLimit; candidate >= oldest && chain > 0; --chain) {
            const std::uint8_t* there = text + (candidate - base);
            // Cheap reject: the byte that would make this match longer than the best.
            if (there[best.length] == here[best.length] && there[0] == here[0]) {
                const int len = CommonPrefix(there, here, maxLength);
                if (len > best.length) {
                    best.length = len;
                    best.position = candidate;
                    if (len >= maxLength) break;
                }
            }
            candidate = prev_[candidate & (kDicSize - 1)];
        }
    }
    prev_[position & (kDicSize - 1)] = head_[h];
    head_[h] = position;
    return best;
}

}  // namespace wt::lha
