#pragma once
// Keeps a second copy of the program from starting: the first instance holds an exclusive
// lock on a file named after "WavetrapMutex" in the user's runtime folder for its whole run.
#include <string>

namespace wt::app {

class SingleInstance {
public:
    // lockPath: the lock file; LockFilePath() gives the program's own.
    explicit SingleInstance(std::string lockPath);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this process now holds the lock; false when another holds it (or the file
    // cannot be opened, in which case the program runs unguarded rather than not at all).
    bool Acquire();
    bool Held() const { return fd_ >= 0; }

    // The program's lock file in runtimeFolder (ProgramFolders::runtime: $XDG_RUNTIME_DIR, or
    // the user's cache folder when that is unset).
    static std::string LockFilePath(const std::string& runtimeFolder);

private:
    std::string path_;
    int fd_ = -1;
};

}  // namespace wt::app
