#pragma once
// Packs bit fields most significant bit first and writes them to a stream through an
// 8192-byte buffer.
#include <cstdint>

#include "settings/ByteStream.h"
#include "settings/LhaFormat.h"

namespace wt::lha {

class BitWriter {
public:
    explicit BitWriter(ByteStream& target) : target_(target) {}

    // Appends the low `count` bits of `value` (count 0 to 16).
    void PutBits(int count, unsigned value) {
        if (count == 0) return;
        acc_ = (acc_ << count) | (value & ((1u << count) - 1u));
        pending_ += count;
        while (pending_ >= 8) {
            pending_ -= 8;
            PutByte(static_cast<std::uint8_t>(acc_ >> pending_));
        }
    }

    // Pads the last partial byte with zero bits and writes out everything buffered.
    void Finish() {
        if (pending_ > 0) PutBits(8 - pending_, 0);
        Flush();
    }

private:
    void PutByte(std::uint8_t byte) {
        buffer_[fill_++] = byte;
        if (fill_ == kIoBufferSize) Flush();
    }
    void Flush() {
        if (fill_ > 0) target_.Write(buffer_, static_cast<std::size_t>(fill_));
        fill_ = 0;
    }

    ByteStream& target_;
    std::uint32_t acc_ = 0;
    int pending_ = 0;  // bits in acc_ not yet written, at most 7 between calls
    std::uint8_t buffer_[kIoBufferSize];
    int fill_ = 0;
};

}  // namespace wt::lha
