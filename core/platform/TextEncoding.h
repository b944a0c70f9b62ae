#pragma once
// Text that comes from files and the network: UTF-8 when it is valid UTF-8, otherwise
// Windows-1252 (the single-byte text the original data files hold), converted to UTF-8.
#include <cstddef>
#include <string>
#include <string_view>

namespace wt {

bool IsValidUtf8(std::string_view bytes);
// Appends the code point (at most U+10FFFF) in UTF-8.
void AppendUtf8(std::string& out, char32_t cp);
// Converts Windows-1252 bytes to UTF-8 (bytes 0x81, 0x8D, 0x8F, 0x90, 0x9D map to U+0081.. as-is).
std::string Cp1252ToUtf8(std::string_view bytes);
// Valid UTF-8 unchanged; anything else read as Windows-1252.
std::string DecodeText(std::string_view bytes);
// The longest prefix of a UTF-8 text that is at most maxBytes long and ends on a character
// boundary.
std::string TruncateUtf8(std::string_view text, std::size_t maxBytes);

}  // namespace wt
