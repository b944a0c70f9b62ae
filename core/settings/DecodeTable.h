#pragma once
// Lookup tables for decoding canonical Huffman codes: codes no longer than the table width
// take one look-up; longer codes continue in a binary tree of left/right child nodes.
#include <cstdint>

namespace wt::lha {

// Child arrays shared by all three codes of a block; node numbers start at the alphabet size.
struct DecodeTree {
    static constexpr int kNodes = 2 * 510 - 1;
    std::uint16_t left[kNodes];
    std::uint16_t right[kNodes];
};

// Fills `table` (2^tableBits entries) from the code lengths of `symbols` symbols (each 0..16).
// Throws ECorruptFile when the lengths do not form a complete prefix code (all lengths zero is
// accepted and decodes as symbol 0 with no bits).
void MakeDecodeTable(int symbols, const std::uint8_t* lengths, int tableBits, std::uint16_t* table,
                     DecodeTree& tree);

}  // namespace wt::lha
