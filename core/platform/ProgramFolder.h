#pragma once
// Where the program keeps its files. An installed program cannot write beside itself, so each
// user's files live in the XDG base folders; a program folder that holds "cfg.dat" or a file
// named "portable" (and is writable) keeps everything beside the executable instead.
#include <string>

namespace wt {

// The folder of the running executable, ending in '/'.
std::string ExecutableFolder();

// Every folder below ends in '/'.
struct ProgramFolders {
    std::string config;   // cfg.dat
    std::string data;     // data.db
    std::string cache;    // tmpdb.db, Temp.tmp, preview.mp3
    std::string runtime;  // the single-instance lock
    std::string share;    // the help page and other read-only data
    bool portable = false;

    // Everything in one folder (portable mode, and tests).
    static ProgramFolders AllIn(const std::string& folder);
};

// The variables the folders come from; empty means unset.
struct FolderEnvironment {
    std::string home;
    std::string xdgConfigHome;
    std::string xdgDataHome;
    std::string xdgCacheHome;
    std::string xdgRuntimeDir;
    // This process's environment.
    static FolderEnvironment FromProcess();
};

// The folders for a program whose executable lives in exeFolder. The read-only data comes from
// the installed data folder (exeFolder/../share/wavetrap/) when it holds the help page, else
// from beside the executable (a build tree). Nothing is created.
ProgramFolders ResolveProgramFolders(const std::string& exeFolder, const FolderEnvironment& env);

// Where the output folder chooser starts: the user's music folder (XDG_MUSIC_DIR of
// user-dirs.dirs in the config home) when it exists, else the home folder. Ends in '/'.
std::string UserMusicFolder(const FolderEnvironment& env);

// Creates folder and its missing parents, each new one with mode 0700. Throws
// std::runtime_error naming the folder and the system's reason.
void CreateUserFolder(const std::string& folder);

// Creates the writable folders (mode 0700 for new ones, parents included). Throws
// std::runtime_error naming the folder and the system's reason when one cannot be made.
void CreateProgramFolders(const ProgramFolders& folders);

}  // namespace wt
