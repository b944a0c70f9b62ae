// wavetrap-catalogue [FILE] COMMAND: export, import, list genres of and publish a station
// catalogue file.
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "CatalogueCommands.h"
#include "catalogue/FieldText.h"
#include "platform/ProgramFolder.h"

namespace {

constexpr const char* kUsage =
    "usage: wavetrap-catalogue [FILE] export\n"
    "       wavetrap-catalogue [FILE] import CSV\n"
    "       wavetrap-catalogue [FILE] genres\n"
    "       wavetrap-catalogue [FILE] publish DIR --catalogue-version N --program-version M\n"
    "       wavetrap-catalogue publish DIR --from FILE --catalogue-version N --program-version M\n"
    "Versions are whole numbers from 0 to 999.\n"
    "FILE is the catalogue; without it the tool works on the program's own: data.db in\n"
    "$XDG_DATA_HOME/wavetrap/ (~/.local/share/wavetrap/), or beside the program in portable\n"
    "mode (its folder holds cfg.dat or a file named portable). Name a file that is called like\n"
    "a command with a path (./genres).\n";

int Usage() {
    std::cerr << kUsage;
    return 2;
}

bool IsCommand(const char* word) {
    for (const char* command : {"export", "import", "genres", "publish"})
        if (std::strcmp(word, command) == 0) return true;
    return false;
}

std::optional<int> Version(const char* text) {
    auto value = wt::ParseInteger(text);
    if (!value || *value < 0 || *value > 999) return std::nullopt;
    return static_cast<int>(*value);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::cout << kUsage;
        return 0;
    }
    std::vector<char*> args(argv, argv + argc);
    // Without a file the command works on the user's catalogue, found as the program finds it
    // (the tools sit beside the program).
    std::string defaultFile;
    if (argc >= 2 && IsCommand(argv[1]) && !(argc == 9 && std::strcmp(argv[3], "--from") == 0)) {
        defaultFile = wt::ResolveProgramFolders(wt::ExecutableFolder(), wt::FolderEnvironment::FromProcess()).data +
                      "data.db";
        args.insert(args.begin() + 1, defaultFile.data());
    }
    argc = static_cast<int>(args.size());
    argv = args.data();
    if (argc < 3) return Usage();
    // "publish DIR --from FILE ..." is the same as "FILE publish DIR ...".
    if (argc == 9 && std::strcmp(argv[1], "publish") == 0 && std::strcmp(argv[3], "--from") == 0)
        args = {argv[0], argv[4], argv[1], argv[2], argv[5], argv[6], argv[7], argv[8]};
    argc = static_cast<int>(args.size());
    argv = args.data();
    const std::string file = argv[1], command = argv[2];
    try {
        if (command == "export" && argc == 3) {
            wt::tool::ExportCsv(file, std::cout);
        } else if (command == "import" && argc == 4) {
            int added = wt::tool::ImportCsv(file, argv[3]);
            std::cout << "Added " << added << " stations.\n";
        } else if (command == "genres" && argc == 3) {
            wt::tool::ListGenres(file, std::cout);
        } else if (command == "publish" && argc == 8) {
            std::optional<int> catalogueVersion, programVersion;
            for (int i = 4; i + 1 < argc; i += 2) {
                if (std::strcmp(argv[i], "--catalogue-version") == 0) catalogueVersion = Version(argv[i + 1]);
                else if (std::strcmp(argv[i], "--program-version") == 0) programVersion = Version(argv[i + 1]);
                else return Usage();
            }
            if (!catalogueVersion || !programVersion) return Usage();
            wt::tool::Publish(file, argv[3], *catalogueVersion, *programVersion);
        } else {
            return Usage();
        }
        std::cout.flush();
        if (!std::cout) {
            std::cerr << "Cannot write the output\n";
            return 1;
        }
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}
