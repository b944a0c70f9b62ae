#include "engine/SongFiles.h"

#include <mutex>
#include <set>

namespace wt {

namespace {
std::mutex& Mutex() {
    static std::mutex mutex;
    return mutex;
}
std::set<std::string>& OpenFiles() {  // guarded by Mutex()
    static std::set<std::string> files;
    return files;
}
}  // namespace

bool ClaimSongFile(const std::string& path) {
    std::lock_guard<std::mutex> lock(Mutex());
    return OpenFiles().insert(path).second;
}

void ReleaseSongFile(const std::string& path) {
    std::lock_guard<std::mutex> lock(Mutex());
    OpenFiles().erase(path);
}

}  // namespace wt
