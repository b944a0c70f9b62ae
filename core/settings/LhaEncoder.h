#pragma once
// The lh5 encoder: one-step lazy LZSS parsing into blocks of items, each block sent with its
// own Huffman codes.
#include <cstdint>

#include "settings/BitWriter.h"
#include "settings/ByteStream.h"
#include "settings/LhaFormat.h"
#include "settings/MatchFinder.h"

namespace wt::lha {

class Encoder {
public:
    Encoder(ByteStream& source, BitWriter& bits) : source_(source), bits_(bits) {}
    void Run();

private:
    static constexpr int kWindowSize = 2 * kDicSize + kMaxMatch;  // 16640
    static constexpr int kBlockBufferSize = 16384;

    void Advance(bool search, int goodLength);
    void Output(unsigned symbol, unsigned offset);
    void SendBlock();
    int SentLiteralLengths() const;
    template <class Emit>
    void WalkLiteralLengths(Emit emit) const;
    void CountCodeLengthFreq();
    void WriteShortLengths(int symbols, int countBits, int zeroCountAfter);
    void WriteLiteralLengths();
    void PutCode(const std::uint8_t* lengths, const std::uint16_t* codes, unsigned symbol) {
        bits_.PutBits(lengths[symbol], codes[symbol]);
    }

    ByteStream& source_;
    BitWriter& bits_;
    MatchFinder finder_;
    std::uint8_t text_[kWindowSize] = {};
    std::int32_t base_ = -kDicSize;  // absolute position of text_[0]
    int pos_ = kDicSize;             // window index of the next byte to code
    std::int64_t remainder_ = 0;     // bytes from pos_ to the end of the input
    MatchFinder::Match match_;

    std::uint8_t block_[kBlockBufferSize] = {};
    int blockPos_ = 0;
    int flagPos_ = 0;
    unsigned flagMask_ = 0;

    std::uint16_t literalFreq_[kNC] = {};
    std::uint16_t offsetFreq_[kNP] = {};
    std::uint16_t lengthFreq_[kNT] = {};
    std::uint8_t literalLengths_[kNC] = {};
    std::uint16_t literalCodes_[kNC] = {};
    std::uint8_t shortLengths_[kNT] = {};
    std::uint16_t shortCodes_[kNT] = {};
};

}  // namespace wt::lha
