#pragma once
// Reading station playlists (".pls" files, which are INI files).
#include <string>
#include <string_view>

namespace wt {

// The value of key in section of an INI text, or "" when there is none. Section and key
// names are compared ignoring letter case; the first section and the first key of that name
// count. Lines may end in CR LF, LF or CR; lines starting with ';' are comments; spaces around
// names and values are dropped, as are one pair of quotes around a value.
std::string ReadProfileString(std::string_view text, std::string_view section, std::string_view key);

// The stream address a playlist names: "File1" of section "playlist". Entries that are not
// http or https addresses are refused (""), since the address comes from the network and is
// opened for ripping.
std::string PlaylistStreamUrl(std::string_view playlistText);

}  // namespace wt
