#include "settings/LhaDecoder.h"

#include <cstring>

#include "settings/LHARoutines.h"

namespace wt::lha {

namespace {
constexpr int kLiteralTableBits = 12;
constexpr int kShortTableBits = 8;
}  // namespace

unsigned Decoder::DecodeSymbol(const std::uint16_t* table, int tableBits, const std::uint8_t* lengths,
                               int symbols) {
    const unsigned peek = bits_.Peek16();
    unsigned symbol = table[peek >> (16 - tableBits)];
    if (symbol >= static_cast<unsigned>(symbols)) {
        unsigned mask = 1u << (15 - tableBits);
        do {
            // A complete code never runs past 16 bits; a damaged table could.
            if (mask == 0) throw ECorruptFile();
            symbol = (peek & mask) ? tree_.right[symbol] : tree_.left[symbol];
            mask >>= 1;
        } while (symbol >= static_cast<unsigned>(symbols));
    }
    bits_.Skip(lengths[symbol]);
    return symbol;
}

void Decoder::ReadShortLengths(int symbols, int countBits, int zeroCountAfter) {
    const int n = static_cast<int>(bits_.GetBits(countBits));
    if (n == 0) {
        const unsigned only = bits_.GetBits(countBits);
        if (only >= static_cast<unsigned>(symbols)) throw ECorruptFile();
        std::memset(shortLengths_, 0, sizeof shortLengths_);
        for (auto& entry : shortTable_) entry = static_cast<std::uint16_t>(only);
        return;
    }
    if (n > symbols) throw ECorruptFile();
    int i = 0;
    while (i < n) {
        unsigned len = bits_.GetBits(3);
        if (len == 7) {
            while (bits_.GetBits(1) == 1) {
                if (++len > kMaxCodeLength) throw ECorruptFile();
            }
        }
        shortLengths_[i++] = static_cast<std::uint8_t>(len);
        if (i == zeroCountAfter) {
            int zeros = static_cast<int>(bits_.GetBits(2));
            while (zeros-- > 0 && i < symbols) shortLengths_[i++] = 0;
        }
    }
    while (i < symbols) shortLengths_[i++] = 0;
    MakeDecodeTable(symbols, shortLengths_, kShortTableBits, shortTable_, tree_);
}

void Decoder::ReadLiteralLengths() {
    const int n = static_cast<int>(bits_.GetBits(kCBits));
    if (n == 0) {
        const unsigned only = bits_.GetBits(kCBits);
        if (only >= static_cast<unsigned>(kNC)) throw ECorruptFile();
        std::memset(literalLengths_, 0, sizeof literalLengths_);
        for (auto& entry : literalTable_) entry = static_cast<std::uint16_t>(only);
        return;
    }
    if (n > kNC) throw ECorruptFile();
    int i = 0;
    while (i < n) {
        const unsigned c = DecodeSymbol(shortTable_, kShortTableBits, shortLengths_, kNT);
        if (c <= 2) {
            int zeros = 1;
            if (c == 1) zeros = static_cast<int>(bits_.GetBits(4)) + 3;
            else if (c == 2) zeros = static_cast<int>(bits_.GetBits(kCBits)) + 20;
            if (i + zeros > kNC) throw ECorruptFile();
            std::memset(literalLengths_ + i, 0, static_cast<std::size_t>(zeros));
            i += zeros;
        } else {
            literalLengths_[i++] = static_cast<std::uint8_t>(c - 2);
        }
    }
    while (i < kNC) literalLengths_[i++] = 0;
    MakeDecodeTable(kNC, literalLengths_, kLiteralTableBits, literalTable_, tree_);
}

void Decoder::ReadBlockHeader() {
    itemsLeft_ = static_cast<std::uint16_t>(bits_.GetBits(16));
    ReadShortLengths(kNT, kTBits, 3);
    ReadLiteralLengths();
    ReadShortLengths(kNP, kPBits, -1);
}

unsigned Decoder::DecodeLiteralLength() {
    if (itemsLeft_ == 0) ReadBlockHeader();
    --itemsLeft_;  // a block that declares 0 items wraps to 65535, as the 16-bit count does
    return DecodeSymbol(literalTable_, kLiteralTableBits, literalLengths_, kNC);
}

unsigned Decoder::DecodeOffset() {
    const unsigned k = DecodeSymbol(shortTable_, kShortTableBits, shortLengths_, kNP);
    if (k <= 1) return k;
    return (1u << (k - 1)) + bits_.GetBits(static_cast<int>(k) - 1);
}

void Decoder::DecodeChunk(int count) {
    int out = 0;
    auto copyPending = [&] {
        while (pendingCount_ > 0 && out < count) {
            window_[out++] = window_[pendingSource_];
            pendingSource_ = (pendingSource_ + 1) & (kDicSize - 1);
            --pendingCount_;
        }
    };
    copyPending();
    while (out < count) {
        const unsigned c = DecodeLiteralLength();
        if (c < 256) {
            window_[out++] = static_cast<std::uint8_t>(c);
        } else {
            pendingCount_ = static_cast<int>(c) - (256 - kThreshold);
            const unsigned offset = DecodeOffset();
            pendingSource_ = (static_cast<unsigned>(out) - offset - 1u) & (kDicSize - 1);
            copyPending();
        }
    }
}

}  // namespace wt::lha
