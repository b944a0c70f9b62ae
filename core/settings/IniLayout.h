#pragma once
// Sizes and constants of the settings file layout.
#include <cstdint>

namespace wt::ini {

constexpr int kHeaderSize = 16;
constexpr int kInfoOffset = 16;
constexpr int kInfoSize = 24;
constexpr int kDataStart = kHeaderSize + kInfoSize;  // 40
constexpr int kEntrySize = 12;
constexpr unsigned char kMagic[5] = {'T', 'z', 'I', 'D', 0x1A};
// Byte ranges move through a buffer of at most this size.
constexpr std::int64_t kMoveBufferSize = 500000;
// The change counter starts over at 0 after this value.
constexpr std::int32_t kLastCounter = 0x7FFFFFF5;
// A value whose length field promises more than this is not decompressed: a damaged file
// must not make a read allocate up to 2 GB. The program's values are a few kilobytes.
constexpr std::int64_t kMaxValueBytes = 64 * 1024 * 1024;

}  // namespace wt::ini
