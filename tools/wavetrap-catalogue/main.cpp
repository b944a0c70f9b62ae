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
    "       wavetrap-catalogue [FILE] import LIST [--genre GENRE]\n"
    "       wavetrap-catalogue [FILE] genres\n"
    "       wavetrap-catalogue [FILE] publish DIR --catalogue-version N --program-version M\n"
    "       wavetrap-catalogue publish DIR --from FILE --catalogue-version N --program-version M\n"
    "       wavetrap-catalogue publish DIR --from-list LIST [--genre GENRE] --catalogue-version N --program-version M\n"
    "LIST is a CSV file (ID,Genre,Title,BitRate,URL), an M3U, PLS or XSPF playlist or a radio-browser\n"
    "JSON export, recognised by its content. Stations of a playlist or export go under GENRE, or\n"
    "under their first tag. Versions are whole numbers from 0 to 999.\n"
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

struct Versions {
    int catalogue = 0;
    int program = 0;
};

// "--catalogue-version N --program-version M" in either order, from argv[first] on.
std::optional<Versions> ReadVersions(int argc, char** argv, int first) {
    std::optional<int> catalogueVersion, programVersion;
    for (int i = first; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--catalogue-version") == 0) catalogueVersion = Version(argv[i + 1]);
        else if (std::strcmp(argv[i], "--program-version") == 0) programVersion = Version(argv[i + 1]);
        else return std::nullopt;
    }
    if (!catalogueVersion || !programVersion) return std::nullopt;
    return Versions{*catalogueVersion, *programVersion};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::cout << kUsage;
        return 0;
    }
    std::vector<char*> args(argv, argv + argc);
    // "--genre GENRE" may follow "import LIST" or "--from-list LIST".
    std::string genre;
    for (std::size_t i = 1; i + 1 < args.size(); ++i) {
        if (std::strcmp(args[i], "--genre") == 0) {
            genre = args[i + 1];
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
            break;
        }
    }
    // Without a file the command works on the user's catalogue, found as the program finds it
    // (the tools sit beside the program).
    std::string defaultFile;
    if (args.size() >= 2 && IsCommand(args[1]) && !(args.size() == 9 && (std::strcmp(args[3], "--from") == 0 || std::strcmp(args[3], "--from-list") == 0))) {
        defaultFile = wt::ResolveProgramFolders(wt::ExecutableFolder(), wt::FolderEnvironment::FromProcess()).data +
                      "data.db";
        args.insert(args.begin() + 1, defaultFile.data());
    }
    argc = static_cast<int>(args.size());
    argv = args.data();
    if (argc < 3) return Usage();
    if (argc == 9 && std::strcmp(argv[1], "publish") == 0 && std::strcmp(argv[3], "--from-list") == 0) {
        const auto versions = ReadVersions(argc, argv, 5);
        if (!versions) return Usage();
        try {
            std::cout << wt::tool::PublishList(argv[4], argv[2], versions->catalogue, versions->program, genre) << '\n';
        } catch (const std::exception& e) {
            std::cerr << e.what() << '\n';
            return 1;
        }
        return 0;
    }
    // "publish DIR --from FILE ..." is the same as "FILE publish DIR ...".
    if (argc == 9 && std::strcmp(argv[1], "publish") == 0 && std::strcmp(argv[3], "--from") == 0)
        args = {argv[0], argv[4], argv[1], argv[2], argv[5], argv[6], argv[7], argv[8]};
    argc = static_cast<int>(args.size());
    argv = args.data();
    if (argc < 3 || (!genre.empty() && std::strcmp(argv[2], "import") != 0)) return Usage();
    const std::string file = argv[1], command = argv[2];
    try {
        if (command == "export" && argc == 3) {
            wt::tool::ExportCsv(file, std::cout);
        } else if (command == "import" && argc == 4) {
            std::cout << wt::tool::ImportList(file, argv[3], genre) << '\n';
        } else if (command == "genres" && argc == 3) {
            wt::tool::ListGenres(file, std::cout);
        } else if (command == "publish" && argc == 8) {
            const auto versions = ReadVersions(argc, argv, 4);
            if (!versions) return Usage();
            wt::tool::Publish(file, argv[3], versions->catalogue, versions->program);
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
