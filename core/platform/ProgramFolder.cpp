#include "platform/ProgramFolder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileNames.h"
#include "platform/FileSystem.h"
#include "platform/StringList.h"

namespace wt {

namespace fs = std::filesystem;

namespace {

constexpr const char* kAppFolder = "wavetrap/";
constexpr const char* kHelpPage = "Help.html";

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// An XDG variable counts only when it holds an absolute path; otherwise home + fallback.
std::string BaseFolder(const std::string& value, const std::string& home, const char* fallback) {
    if (!value.empty() && value.front() == '/') return WithTrailingSlash(value);
    return WithTrailingSlash(home) + fallback;
}

bool Exists(const fs::path& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

}  // namespace

std::string ExecutableFolder() {
    std::error_code ec;
    auto exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return "./";
    return WithTrailingSlash(exe.parent_path().string());
}

ProgramFolders ProgramFolders::AllIn(const std::string& folder) {
    const std::string f = WithTrailingSlash(folder);
    return ProgramFolders{f, f, f, f, f, true};
}

FolderEnvironment FolderEnvironment::FromProcess() {
    return FolderEnvironment{Env("HOME"), Env("XDG_CONFIG_HOME"), Env("XDG_DATA_HOME"),
                             Env("XDG_CACHE_HOME"), Env("XDG_RUNTIME_DIR")};
}

ProgramFolders ResolveProgramFolders(const std::string& exeFolder, const FolderEnvironment& env) {
    const std::string exe = WithTrailingSlash(exeFolder);
    const bool marked = Exists(fs::path(exe) / "cfg.dat") || Exists(fs::path(exe) / "portable");
    if (marked && ::access(exe.c_str(), W_OK) == 0) return ProgramFolders::AllIn(exe);

    ProgramFolders folders;
    const std::string home = env.home.empty() ? "/" : env.home;
    folders.config = BaseFolder(env.xdgConfigHome, home, ".config/") + kAppFolder;
    folders.data = BaseFolder(env.xdgDataHome, home, ".local/share/") + kAppFolder;
    folders.cache = BaseFolder(env.xdgCacheHome, home, ".cache/") + kAppFolder;
    // Without a runtime folder the lock stays in the user's own cache folder: a shared
    // temporary folder would let another user hold or redirect it.
    folders.runtime = !env.xdgRuntimeDir.empty() && env.xdgRuntimeDir.front() == '/'
                          ? WithTrailingSlash(env.xdgRuntimeDir)
                          : folders.cache;
    const fs::path installed = fs::path(exe).parent_path().parent_path() / "share" / "wavetrap";
    folders.share = Exists(installed / kHelpPage)
                        ? WithTrailingSlash(fs::weakly_canonical(installed).string())
                        : exe;
    return folders;
}

std::string UserMusicFolder(const FolderEnvironment& env) {
    const std::string home = WithTrailingSlash(env.home.empty() ? "/" : env.home);
    std::string dirs;  // a missing or unreadable list leaves the home folder
    if (!ReadWholeFile(RealFileSystem(), BaseFolder(env.xdgConfigHome, home, ".config/") + "user-dirs.dirs", &dirs).ok())
        return home;
    // Lines of the form XDG_MUSIC_DIR="$HOME/Music" or XDG_MUSIC_DIR="/absolute/path".
    const std::string key = "XDG_MUSIC_DIR=\"";
    for (const std::string& line : SplitLines(dirs)) {
        if (line.compare(0, key.size(), key) != 0) continue;
        const std::size_t end = line.find('"', key.size());
        if (end == std::string::npos) break;
        std::string value = line.substr(key.size(), end - key.size());
        if (value.compare(0, 5, "$HOME") == 0) value = home + value.substr(value.size() > 5 && value[5] == '/' ? 6 : 5);
        if (!value.empty() && value.front() == '/' && fs::is_directory(value)) return WithTrailingSlash(value);
        break;
    }
    return home;
}

void CreateUserFolder(const std::string& folder) {
    // Each missing part is made 0700, parents included: these folders are the user's alone.
    std::string path;
    for (const auto& part : fs::path(folder)) {
        path = (fs::path(path) / part).string();
        if (part == "/" || Exists(path)) continue;
        if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
            throw std::runtime_error("Cannot create folder \"" + folder + "\". " + std::strerror(errno));
    }
}

void CreateProgramFolders(const ProgramFolders& folders) {
    for (const std::string* folder : {&folders.config, &folders.data, &folders.cache, &folders.runtime})
        CreateUserFolder(*folder);
}

}  // namespace wt
