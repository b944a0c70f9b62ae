#pragma once
// The commands of wavetrap-settings, over the settings store.
#include <ostream>
#include <string>
#include <vector>

namespace wt::tool {

// Runs `wavetrap-settings FILE COMMAND ARGS...` (args without the program name). Writes
// results to `out` and refusals to `err`; returns the exit status: 0 on success, 1 when the
// store or the file refuses, 2 for a usage error.
int RunSettingsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace wt::tool
