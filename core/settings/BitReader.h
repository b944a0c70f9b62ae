#pragma once
// Reads bit fields most significant bit first from a stream through an 8192-byte buffer.
// Once the given count of compressed bytes is used up, zero bytes are supplied, so damaged
// or short data decodes on as zero bits.
#include <cstdint>

#include "settings/ByteStream.h"
#include "settings/LhaFormat.h"

namespace wt::lha {

class BitReader {
public:
    BitReader(ByteStream& source, std::int64_t compressedCount)
        : source_(source), remaining_(compressedCount) {
        Refill();
    }

    // The next 16 bits without consuming them.
    unsigned Peek16() const { return static_cast<unsigned>(acc_ >> (available_ - 16)) & 0xFFFFu; }

    void Skip(int count) {
        available_ -= count;
        if (available_ < 32) Refill();
    }

    unsigned GetBits(int count) {
        if (count == 0) return 0;
        const unsigned value = Peek16() >> (16 - count);
        Skip(count);
        return value;
    }

private:
    void Refill() {
        while (available_ <= 56) {
            acc_ = (acc_ << 8) | NextByte();
            available_ += 8;
        }
    }

    std::uint8_t NextByte() {
        if (remaining_ <= 0) return 0;
        if (index_ == filled_) {
            filled_ = static_cast<int>(source_.Read(buffer_, kIoBufferSize));
            index_ = 0;
            if (filled_ == 0) {
                remaining_ = 0;
                return 0;
            }
        }
        --remaining_;
        return buffer_[index_++];
    }

    ByteStream& source_;
    std::int64_t remaining_;
    std::uint64_t acc_ = 0;
    int available_ = 0;  // valid bits at the low end of acc_; at least 32 between calls
    std::uint8_t buffer_[kIoBufferSize];
    int index_ = 0;
    int filled_ = 0;
};

}  // namespace wt::lha
