#pragma once
// The song files this process is writing. Linux has no share modes, so a file counts as in
// use while a channel of this process holds it open for writing.
#include <string>

namespace wt {

// Claims the path for writing; false when another channel holds it.
bool ClaimSongFile(const std::string& path);
void ReleaseSongFile(const std::string& path);

}  // namespace wt
