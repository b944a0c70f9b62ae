#include "settings/SettingsFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wt {

namespace {
[[noreturn]] void Fail(const std::string& what, const std::string& path) {
    const int error = errno;
    throw EFileError(what + " \"" + path + "\". " + std::strerror(error));
}
}  // namespace

SettingsFile::~SettingsFile() { Close(); }

void SettingsFile::Create(const std::string& path, const void* bytes, std::size_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) Fail("Cannot create file", path);
    const auto* p = static_cast<const char*>(bytes);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, p + done, size - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int saved = errno;
            ::close(fd);
            errno = saved;
            Fail("Cannot write file", path);
        }
        done += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0) Fail("Cannot write file", path);
}

void SettingsFile::Open(const std::string& path, bool readOnly) {
    Close();
    fd_ = ::open(path.c_str(), (readOnly ? O_RDONLY : O_RDWR) | O_CLOEXEC);
    if (fd_ < 0) Fail("Cannot open file", path);
    path_ = path;
}

void SettingsFile::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

std::int64_t SettingsFile::Size() const {
    struct stat st{};
    if (::fstat(fd_, &st) != 0) Fail("Cannot read file", path_);
    return st.st_size;
}

void SettingsFile::ReadAt(std::int64_t offset, void* buffer, std::size_t count) const {
    auto* p = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::pread(fd_, p + done, count - done, static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail("Cannot read file", path_);
        }
        if (n == 0) throw EFileError("Stream read error");
        done += static_cast<std::size_t>(n);
    }
}

void SettingsFile::WriteAt(std::int64_t offset, const void* buffer, std::size_t count) {
    const auto* p = static_cast<const char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::pwrite(fd_, p + done, count - done, static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail("Cannot write file", path_);
        }
        done += static_cast<std::size_t>(n);
    }
}

void SettingsFile::Truncate(std::int64_t size) {
    if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) Fail("Cannot resize file", path_);
}

void SettingsFile::Sync() {
    if (::fsync(fd_) != 0) Fail("Cannot flush file", path_);
}

}  // namespace wt
