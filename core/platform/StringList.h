#pragma once
// The list format of settings and dialogs: lines, each ended by CR LF. Reading accepts CR LF,
// LF or CR line ends and a last line without an end. Also the ASCII-only case folding that
// setting names and genre comparisons use, and the one trim helper.
#include <string>
#include <string_view>
#include <vector>

namespace wt {

std::vector<std::string> SplitLines(std::string_view text);
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

// Folds only 'A'..'Z' to 'a'..'z'.
std::string AsciiLower(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
// <0, 0, >0 comparing with 'A'..'Z' folded.
int CompareIgnoreCase(std::string_view a, std::string_view b);
bool ContainsIgnoreCase(std::string_view haystack, std::string_view needle);

// text without the characters of blanks at either end.
std::string_view Trim(std::string_view text, std::string_view blanks = " \t\r\n");

}  // namespace wt
