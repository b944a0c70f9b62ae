// wavetrap-settings FILE COMMAND: reads and edits the program's settings file.
#include <iostream>

#include "SettingsCommands.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return wt::tool::RunSettingsCommand(args, std::cout, std::cerr);
}
