#include "SingleInstance.h"

#include "platform/FileNames.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace wt::app {

SingleInstance::SingleInstance(std::string lockPath) : path_(std::move(lockPath)) {}

SingleInstance::~SingleInstance() {
    if (fd_ >= 0) close(fd_);  // closing releases the lock
}

bool SingleInstance::Acquire() {
    if (fd_ >= 0) return true;
    int fd = open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return true;  // no place for the lock: run rather than refuse to start
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int error = errno;
        close(fd);
        return error != EWOULDBLOCK;  // another instance holds it; other failures run unguarded
    }
    fd_ = fd;
    return true;
}

std::string SingleInstance::LockFilePath(const std::string& runtimeFolder) {
    return WithTrailingSlash(runtimeFolder) + "WavetrapMutex.lock";
}

}  // namespace wt::app
