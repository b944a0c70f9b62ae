#pragma once
#include <cstdint>
#include <string_view>

namespace wt {

// CRC-32 as ISO-HDLC / IEEE 802.3 define it (reflected polynomial 0xEDB88320, initial value
// and final complement 0xFFFFFFFF): the value zlib's crc32 gives.
std::uint32_t Crc32(std::string_view bytes);

}  // namespace wt
