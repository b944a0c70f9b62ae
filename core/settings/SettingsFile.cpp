#include "settings/SettingsFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wt {

namespace {
[[noreturn]] void Fail(const std::string& what, const std::string& path) {
    const int error = errno;
    throw EFileError(what + " \"" + path + "\". " + std::strerror(error));
}
constexpr const char* kCopyMark = ".new-";

bool CopyByHand(int from, int to, off_t offset, off_t end) {
    char buffer[65536];
    while (offset < end) {
        const ssize_t n = ::pread(from, buffer, sizeof buffer, offset);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::pwrite(to, buffer + done, static_cast<std::size_t>(n - done), offset + done);
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) return false;
            done += w;
        }
        offset += n;
    }
    return true;
}

// A rename is on the disk only once its folder is.
void SyncFolderOf(const std::string& path) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;  // the file itself is flushed; the folder's flush is best effort
    ::fsync(fd);
    ::close(fd);
}

// Copies left by a change that a crash interrupted. A copy younger than a minute may belong to
// another writer's change under way, so it stays.
void RemoveStaleCopies(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path file(path);
    const std::string prefix = file.filename().string() + kCopyMark;
    const auto now = fs::file_time_type::clock::now();
    for (const auto& entry : fs::directory_iterator(file.parent_path().empty() ? "." : file.parent_path(), ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) continue;
        std::error_code ignored;
        const auto written = fs::last_write_time(entry.path(), ignored);
        if (!ignored && now - written > std::chrono::minutes(1)) fs::remove(entry.path(), ignored);
    }
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
    readOnly_ = readOnly;
    if (!readOnly) RemoveStaleCopies(path);
}

void SettingsFile::Close() {
    Abandon();
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

void SettingsFile::BeginChange() {
    if (Changing()) return;
    std::string pattern = path_ + kCopyMark + "XXXXXX";
    const int copy = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (copy < 0) Fail("Cannot create file", pattern);
    struct stat st{};
    bool ok = ::fstat(fd_, &st) == 0 && ::fchmod(copy, st.st_mode & 07777) == 0;
    // The kernel copies (sharing blocks where the file system can); a plain read and write
    // loop is the fallback.
    off_t in = 0, out = 0;
    while (ok && in < st.st_size) {
        const ssize_t n = ::copy_file_range(fd_, &in, copy, &out, static_cast<std::size_t>(st.st_size - in), 0);
        if (n > 0) continue;
        if (n < 0 && errno == EINTR) continue;
        ok = n == 0 ? false : CopyByHand(fd_, copy, in, st.st_size);
        break;
    }
    if (!ok) {
        const int error = errno;
        ::close(copy);
        ::unlink(pattern.c_str());
        errno = error;
        Fail("Cannot write file", pattern);
    }
    oldFd_ = fd_;
    fd_ = copy;
    copyPath_ = pattern;
}

void SettingsFile::Commit() {
    if (!Changing()) {
        if (::fsync(fd_) != 0) Fail("Cannot flush file", path_);
        return;
    }
    if (::fsync(fd_) != 0) Fail("Cannot flush file", copyPath_);
    if (::rename(copyPath_.c_str(), path_.c_str()) != 0) Fail("Cannot replace file", path_);
    ::close(oldFd_);
    oldFd_ = -1;
    copyPath_.clear();
    SyncFolderOf(path_);
}

void SettingsFile::Abandon() noexcept {
    if (!Changing()) return;
    ::close(fd_);
    ::unlink(copyPath_.c_str());
    fd_ = oldFd_;
    oldFd_ = -1;
    copyPath_.clear();
}

bool SettingsFile::FollowReplacement() {
    if (Changing() || fd_ < 0) return false;
    struct stat open{}, named{};
    if (::fstat(fd_, &open) != 0 || ::stat(path_.c_str(), &named) != 0) return false;
    if (open.st_ino == named.st_ino && open.st_dev == named.st_dev) return false;
    const int fd = ::open(path_.c_str(), (readOnly_ ? O_RDONLY : O_RDWR) | O_CLOEXEC);
    if (fd < 0) Fail("Cannot open file", path_);
    ::close(fd_);
    fd_ = fd;
    return true;
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
    BeginChange();
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
    BeginChange();
    if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) Fail("Cannot resize file", path_);
}

}  // namespace wt
