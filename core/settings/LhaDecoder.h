#pragma once
// The lh5 block decoder: reads block headers and items and produces the output in chunks.
#include <cstdint>

#include "settings/BitReader.h"
#include "settings/DecodeTable.h"
#include "settings/LhaFormat.h"

namespace wt::lha {

class Decoder {
public:
    explicit Decoder(BitReader& bits) : bits_(bits) {}

    // Decodes the next `count` bytes (at most kDicSize) into Output()[0 .. count).
    // The output buffer is also the dictionary: every chunk but the last is kDicSize bytes.
    void DecodeChunk(int count);
    const std::uint8_t* Output() const { return window_; }

private:
    void ReadBlockHeader();
    void ReadShortLengths(int symbols, int countBits, int zeroCountAfter);
    void ReadLiteralLengths();
    unsigned DecodeSymbol(const std::uint16_t* table, int tableBits, const std::uint8_t* lengths, int symbols);
    unsigned DecodeLiteralLength();
    unsigned DecodeOffset();

    BitReader& bits_;
    std::uint8_t literalLengths_[kNC] = {};
    std::uint16_t literalTable_[4096] = {};
    std::uint8_t shortLengths_[kNT] = {};  // the code-length code, then the offset code
    std::uint16_t shortTable_[256] = {};
    DecodeTree tree_ = {};
    std::uint16_t itemsLeft_ = 0;
    std::uint8_t window_[kDicSize] = {};
    int pendingCount_ = 0;
    unsigned pendingSource_ = 0;
};

}  // namespace wt::lha
