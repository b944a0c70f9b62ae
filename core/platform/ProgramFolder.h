#pragma once
#include <string>

namespace wt {

// The folder of the running executable, ending in '/'. The program keeps its settings,
// catalogue and help page there.
std::string ExecutableFolder();

}  // namespace wt
