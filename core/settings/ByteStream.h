#pragma once
// Byte streams with size, position, read and write: what the compressor works on.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace wt {

class ByteStream {
public:
    virtual ~ByteStream() = default;
    virtual std::int64_t Size() const = 0;
    virtual std::int64_t Position() const = 0;
    virtual void SetPosition(std::int64_t position) = 0;
    // Reads up to `count` bytes at the position and advances it; returns the bytes read.
    virtual std::size_t Read(void* buffer, std::size_t count) = 0;
    // Writes at the position (overwriting, then extending) and advances it.
    virtual void Write(const void* buffer, std::size_t count) = 0;
};

class MemoryByteStream : public ByteStream {
public:
    MemoryByteStream() = default;
    explicit MemoryByteStream(std::span<const std::uint8_t> bytes) : data_(bytes.begin(), bytes.end()) {}

    std::int64_t Size() const override { return static_cast<std::int64_t>(data_.size()); }
    std::int64_t Position() const override { return position_; }
    void SetPosition(std::int64_t position) override { position_ = position < 0 ? 0 : position; }
    std::size_t Read(void* buffer, std::size_t count) override;
    void Write(const void* buffer, std::size_t count) override;

    const std::vector<std::uint8_t>& Bytes() const { return data_; }
    std::vector<std::uint8_t> TakeBytes() { position_ = 0; return std::move(data_); }

private:
    std::vector<std::uint8_t> data_;
    std::int64_t position_ = 0;
};

}  // namespace wt
