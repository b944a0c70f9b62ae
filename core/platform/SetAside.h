#pragma once
// Keeping a damaged file out of the way without deleting anything: it gets a new name beside
// the old one, "<name>.damaged-YYYY-MM-DD-HHMMSS" (local time), with "-2", "-3"... when taken.
#include <ctime>
#include <string>

#include "platform/FileSystem.h"

namespace wt {

// The name the file at path would be set aside under at time now.
std::string SetAsideName(const std::string& path, std::time_t now);
// Renames the file to its set-aside name; returns that name. Throws std::runtime_error with
// the system's reason.
std::string MoveAside(const std::string& path, std::time_t now, FileSystem& files = RealFileSystem());
// Copies the file to its set-aside name (the original stays); returns that name.
std::string CopyAside(const std::string& path, std::time_t now, FileSystem& files = RealFileSystem());

}  // namespace wt
