#include "settings/LhaEncoder.h"

#include <algorithm>
#include <iterator>
#include <cstring>

#include "settings/HuffmanCode.h"

namespace wt::lha {

namespace {
std::int64_t ReadFully(ByteStream& source, std::uint8_t* buffer, int count) {
    std::int64_t total = 0;
    while (total < count) {
        const std::size_t n = source.Read(buffer + total, static_cast<std::size_t>(count - total));
        if (n == 0) break;
        total += static_cast<std::int64_t>(n);
    }
    return total;
}
}  // namespace

int Encoder::SentLiteralLengths() const {
    int n = kNC;
    while (n > 0 && literalLengths_[n - 1] == 0) --n;  // trailing zero lengths are not sent
    return n;
}

// Turns the literal/length code lengths into code-length symbols: 1 or 2 zeros as that many
// symbol 0; 3 to 18 zeros as symbol 1 with 4 bits; exactly 19 as symbol 0 then symbol 1 with
// 15; 20 or more as symbol 2 with 9 bits; a length L as symbol L + 2.
template <class Emit>
void Encoder::WalkLiteralLengths(Emit emit) const {
    const int n = SentLiteralLengths();
    int i = 0;
    while (i < n) {
        const int k = literalLengths_[i++];
        if (k != 0) {
            emit(static_cast<unsigned>(k + 2), 0, 0u);
            continue;
        }
        int run = 1;
        while (i < n && literalLengths_[i] == 0) { ++i; ++run; }
        if (run <= 2) {
            for (int r = 0; r < run; ++r) emit(0u, 0, 0u);
        } else if (run <= 18) {
            emit(1u, 4, static_cast<unsigned>(run - 3));
        } else if (run == 19) {
            emit(0u, 0, 0u);
            emit(1u, 4, 15u);
        } else {
            emit(2u, kCBits, static_cast<unsigned>(run - 20));
        }
    }
}

void Encoder::Advance(bool search, int goodLength) {
    --remainder_;
    ++pos_;
    if (pos_ == 2 * kDicSize) {
        std::memmove(text_, text_ + kDicSize, kDicSize + kMaxMatch);
        remainder_ += ReadFully(source_, text_ + kDicSize + kMaxMatch, kDicSize);
        base_ += kDicSize;
        pos_ = kDicSize;
    }
    const int maxLength = static_cast<int>(std::min<std::int64_t>(kMaxMatch, std::max<std::int64_t>(remainder_, 0)));
    match_ = finder_.Insert(text_, base_, base_ + pos_, maxLength, search, goodLength);
}

void Encoder::Run() {
    remainder_ = ReadFully(source_, text_ + kDicSize, kDicSize + kMaxMatch);
    match_ = finder_.Insert(text_, base_, base_ + pos_, static_cast<int>(std::min<std::int64_t>(kMaxMatch, remainder_)),
                            true);
    while (remainder_ > 0) {
        const MatchFinder::Match last = match_;
        Advance(true, last.length);
        if (match_.length > last.length || last.length < kThreshold) {
            Output(text_[pos_ - 1], 0);
        } else {
            const std::int32_t start = base_ + pos_ - 1;
            Output(static_cast<unsigned>(last.length + (256 - kThreshold)),
                   static_cast<unsigned>(start - last.position - 1) & (kDicSize - 1));
            for (int i = last.length - 1; i > 0; --i) Advance(i == 1, 0);
        }
    }
    SendBlock();
}

void Encoder::Output(unsigned symbol, unsigned offset) {
    flagMask_ >>= 1;
    if (flagMask_ == 0) {
        flagMask_ = 0x80;
        if (blockPos_ >= kBlockBufferSize - 24) {
            SendBlock();
            blockPos_ = 0;
        }
        flagPos_ = blockPos_++;
        block_[flagPos_] = 0;
    }
    block_[blockPos_++] = static_cast<std::uint8_t>(symbol);
    literalFreq_[symbol]++;
    if (symbol >= 256) {
        block_[flagPos_] = static_cast<std::uint8_t>(block_[flagPos_] | flagMask_);
        block_[blockPos_++] = static_cast<std::uint8_t>(offset >> 8);
        block_[blockPos_++] = static_cast<std::uint8_t>(offset);
        offsetFreq_[OffsetClass(offset)]++;
    }
}

void Encoder::CountCodeLengthFreq() {
    std::fill(std::begin(lengthFreq_), std::end(lengthFreq_), 0);
    WalkLiteralLengths([this](unsigned symbol, int, unsigned) { lengthFreq_[symbol]++; });
}

void Encoder::WriteShortLengths(int symbols, int countBits, int zeroCountAfter) {
    int n = symbols;
    while (n > 0 && shortLengths_[n - 1] == 0) --n;
    bits_.PutBits(countBits, static_cast<unsigned>(n));
    int i = 0;
    while (i < n) {
        const int k = shortLengths_[i++];
        if (k <= 6) bits_.PutBits(3, static_cast<unsigned>(k));
        else bits_.PutBits(k - 3, (1u << (k - 3)) - 2);
        if (i == zeroCountAfter) {
            while (i < 6 && shortLengths_[i] == 0) ++i;
            bits_.PutBits(2, static_cast<unsigned>(i - 3) & 3u);
        }
    }
}

void Encoder::WriteLiteralLengths() {
    bits_.PutBits(kCBits, static_cast<unsigned>(SentLiteralLengths()));
    WalkLiteralLengths([this](unsigned symbol, int extraBits, unsigned extra) {
        PutCode(shortLengths_, shortCodes_, symbol);
        bits_.PutBits(extraBits, extra);
    });
}

void Encoder::SendBlock() {
    std::uint32_t items = 0;
    const int root = MakeHuffmanCode(kNC, literalFreq_, literalLengths_, literalCodes_, items);
    bits_.PutBits(16, items);
    if (root >= kNC) {
        CountCodeLengthFreq();
        std::uint32_t unused = 0;
        const int lengthRoot = MakeHuffmanCode(kNT, lengthFreq_, shortLengths_, shortCodes_, unused);
        if (lengthRoot >= kNT) {
            WriteShortLengths(kNT, kTBits, 3);
        } else {
            bits_.PutBits(kTBits, 0);
            bits_.PutBits(kTBits, static_cast<unsigned>(lengthRoot));
        }
        WriteLiteralLengths();
    } else {
        bits_.PutBits(kTBits, 0);
        bits_.PutBits(kTBits, 0);
        bits_.PutBits(kCBits, 0);
        bits_.PutBits(kCBits, static_cast<unsigned>(root));
    }

    std::uint32_t unused = 0;
    const int offsetRoot = MakeHuffmanCode(kNP, offsetFreq_, shortLengths_, shortCodes_, unused);
    if (offsetRoot >= kNP) {
        WriteShortLengths(kNP, kPBits, -1);
    } else {
        bits_.PutBits(kPBits, 0);
        bits_.PutBits(kPBits, static_cast<unsigned>(offsetRoot));
    }

    int at = 0;
    unsigned flags = 0;
    for (std::uint32_t i = 0; i < items; ++i) {
        if (i % 8 == 0) flags = block_[at++];
        else flags <<= 1;
        if (flags & 0x80) {
            PutCode(literalLengths_, literalCodes_, block_[at++] + 256u);
            const unsigned offset = (static_cast<unsigned>(block_[at]) << 8) | block_[at + 1];
            at += 2;
            const int k = OffsetClass(offset);
            PutCode(shortLengths_, shortCodes_, static_cast<unsigned>(k));
            if (k > 1) bits_.PutBits(k - 1, offset & ((1u << (k - 1)) - 1u));
        } else {
            PutCode(literalLengths_, literalCodes_, block_[at++]);
        }
    }
    std::fill(std::begin(literalFreq_), std::end(literalFreq_), 0);
    std::fill(std::begin(offsetFreq_), std::end(offsetFreq_), 0);
}

}  // namespace wt::lha
