#include "engine/SongFileWriter.h"

#include "platform/FileNames.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

namespace wt {

namespace {
// How many numbered variants are tried before giving up on a title.
constexpr int kMaxVariants = 1000;
}  // namespace

std::string SongFileName(const std::string& title, const std::string& extension, int n) {
    std::string suffix = n > 1 ? " (" + std::to_string(n) + ")" + extension : extension;
    std::string name = SanitizeFileName(title, suffix);
    if (!name.empty() && name.front() == '.') name.front() = '_';
    return name;
}

bool SongFileWriter::Open(const std::string& folder, const std::string& title, const std::string& extension) {
    Close();
    error_ = 0;
    std::error_code ignored;  // a folder that cannot be made shows as the open's failure
    std::filesystem::create_directories(folder, ignored);
    for (int n = 1; n <= kMaxVariants; ++n) {
        std::string path = JoinPath(folder, SongFileName(title, extension, n));
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd >= 0) {
            fd_ = fd;
            path_ = std::move(path);
            written_ = 0;
            buffer_.clear();
            return true;
        }
        if (errno != EEXIST) break;
    }
    error_ = errno;
    return false;
}

bool SongFileWriter::Append(const char* data, std::size_t size) {
    if (fd_ < 0 || error_ != 0) return false;
    buffer_.append(data, size);
    if (buffer_.size() >= kBufferBytes) return Flush();
    return true;
}

bool SongFileWriter::Flush() {
    if (fd_ < 0) return false;
    if (error_ != 0) return false;
    std::size_t done = 0;
    while (done < buffer_.size()) {
        ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error_ = n < 0 ? errno : ENOSPC;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    written_ += done;
    buffer_.erase(0, done);
    if (error_ != 0) {
        buffer_.clear();  // not written, not counted
        return false;
    }
    struct stat st {};
    if (::fstat(fd_, &st) == 0 && st.st_nlink == 0) {
        error_ = ENOENT;
        return false;
    }
    return true;
}

bool SongFileWriter::Close() {
    if (fd_ < 0) return error_ == 0;
    bool ok = buffer_.empty() || Flush();
    ::close(fd_);
    fd_ = -1;
    buffer_.clear();
    return ok && error_ == 0;
}

}  // namespace wt
