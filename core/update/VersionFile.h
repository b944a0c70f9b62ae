#pragma once
// The server's version file: line 1 holds the catalogue version in three characters, line 2
// begins with the program version in three characters.
#include <optional>
#include <string>
#include <string_view>

namespace wt {

// This program's own release number; a larger program version on the server is a newer release.
inline constexpr int kProgramVersion = 2;

// The body as the version check sees it: its lines, each followed by CR LF.
std::string NormalizeVersionText(std::string_view body);

// The decimal number in characters first..first+2 (1-based) of text; nullopt when the text is
// too short to hold them or they are not a number.
std::optional<int> VersionGroup(std::string_view text, int first);

// Characters 1 to 3 and 6 to 8 of the normalised body.
std::optional<int> CatalogueVersionOf(std::string_view body);
std::optional<int> ProgramVersionOf(std::string_view body);

}  // namespace wt
