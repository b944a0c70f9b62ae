#pragma once
// Parameters of the lh5 method.
#include <cstdint>

namespace wt::lha {

constexpr int kDicBits = 13;
constexpr int kDicSize = 1 << kDicBits;  // 8192: the dictionary and the decoder's chunk size
constexpr int kMaxMatch = 256;
constexpr int kThreshold = 3;            // shortest match
constexpr int kNC = 256 + kMaxMatch - kThreshold + 1;  // 510 literal/length symbols
constexpr int kNP = kDicBits + 1;        // 14 offset symbols
constexpr int kNT = 16 + 3;              // 19 code-length symbols
constexpr int kCBits = 9;                // width of the literal/length length count
constexpr int kPBits = 4;                // width of the offset length count
constexpr int kTBits = 5;                // width of the code-length length count
constexpr int kMaxCodeLength = 16;
constexpr int kIoBufferSize = 8192;

// Offset class: 0 for offset 0, else the number of significant bits.
inline int OffsetClass(unsigned offset) {
    int k = 0;
    while (offset != 0) { ++k; offset >>= 1; }
    return k;
}

}  // namespace wt::lha
