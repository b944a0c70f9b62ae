// wavetrap-settings [FILE] COMMAND: reads and edits the program's settings file.
#include <iostream>

#include "SettingsCommands.h"
#include "platform/ProgramFolder.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    // The tools sit beside the program, so they find the user's files the way it does.
    const auto folders = wt::ResolveProgramFolders(wt::ExecutableFolder(), wt::FolderEnvironment::FromProcess());
    return wt::tool::RunSettingsCommand(args, folders.config + "cfg.dat", std::cout, std::cerr);
}
