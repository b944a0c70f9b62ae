#pragma once
// The commands of wavetrap-settings, over the settings store.
#include <ostream>
#include <string>
#include <vector>

namespace wt::tool {

// Runs `wavetrap-settings [FILE] COMMAND ARGS...` (args without the program name); without
// FILE the command works on defaultFile. Writes results (and --help) to `out` and refusals to
// `err`; returns the exit status: 0 on success, 1 when the store or the file refuses, 2 for a
// usage error.
int RunSettingsCommand(std::vector<std::string> args, const std::string& defaultFile, std::ostream& out,
                       std::ostream& err);

}  // namespace wt::tool
