#pragma once
// Turning names from the network or from files (song titles, genres, station names) into
// single file or folder names that stay inside their parent folder.
#include <string>
#include <string_view>

namespace wt {

// The longest file name the file system takes, in bytes.
constexpr std::size_t kMaxFileNameBytes = 255;

// Replaces each of the nine characters \ / : * ? " < > | with '_', decodes non-UTF-8 bytes as
// Windows-1252, turns control characters into '_', replaces a name that is empty, "." or ".."
// with '_' runs, and shortens it on a character boundary so that name + suffix fits in
// kMaxFileNameBytes. The suffix (for example ".mp3") is kept whole.
std::string SanitizeFileName(std::string_view name, std::string_view suffix = {});

// Joins a folder that ends in '/' (or is empty) with a name.
std::string JoinPath(std::string_view folder, std::string_view name);

// The folder with a trailing '/'.
std::string WithTrailingSlash(std::string_view folder);

}  // namespace wt
