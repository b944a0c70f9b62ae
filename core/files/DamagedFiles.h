#pragma once
// The program's own files checked before the window opens: a settings file or a catalogue that
// would be refused does not lock the user out. For each damaged file the program asks the
// user the question here; on Yes, Repair() sets the damaged file aside (nothing is deleted) and
// leaves a file the program can start with. On No the program goes on and ends as before.
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "platform/ProgramFolder.h"

namespace wt {

struct DamagedFile {
    std::string path;
    std::string question;           // the user text; "\r" breaks lines
    std::function<void()> Repair;   // throws std::exception with a readable reason
};

// cfg.dat in folders.config and data.db in folders.data; now names the set-aside copies.
std::vector<DamagedFile> FindDamagedFiles(const ProgramFolders& folders, std::time_t now);

}  // namespace wt
