#pragma once
// Builds a length-limited canonical Huffman code from symbol frequencies, for the encoder.
#include <cstdint>

namespace wt::lha {

// Builds the code of `symbols` symbols (at most 510) from `freq`, filling `lengths` and `codes`.
// Returns the root: a value >= symbols when two or more symbols occur; otherwise the one symbol
// that occurs (or 0 when none does), whose code is 0 and whose length stays 0.
// `weight` receives the root's weight, the sum of all frequencies.
int MakeHuffmanCode(int symbols, const std::uint16_t* freq, std::uint8_t* lengths, std::uint16_t* codes,
                    std::uint32_t& weight);

}  // namespace wt::lha
