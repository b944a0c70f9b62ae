#include "engine/SongFileWriter.h"

#include "platform/FileNames.h"

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
    // A folder that cannot be made shows as the open's failure.
    (void)files_.CreateFolders(folder);
    FileResult opened;
    for (int n = 1; n <= kMaxVariants; ++n) {
        std::string path = JoinPath(folder, SongFileName(title, extension, n));
        opened = files_.Open(path, OpenMode::CreateNew, &file_);
        if (opened.ok()) {
            path_ = std::move(path);
            written_ = 0;
            buffer_.clear();
            return true;
        }
        if (opened.error() != EEXIST) break;
    }
    error_ = opened.error();
    return false;
}

bool SongFileWriter::Append(const char* data, std::size_t size) {
    if (!file_ || error_ != 0) return false;
    buffer_.append(data, size);
    if (buffer_.size() >= kBufferBytes) return Flush();
    return true;
}

bool SongFileWriter::Flush() {
    if (!file_) return false;
    if (error_ != 0) return false;
    std::size_t done = 0;
    const FileResult wrote = file_->Append(buffer_.data(), buffer_.size(), &done);
    if (!wrote.ok()) error_ = wrote.error();
    written_ += done;
    buffer_.erase(0, done);
    if (error_ != 0) {
        buffer_.clear();  // not written, not counted
        return false;
    }
    FileInfo info;
    if (file_->Info(&info).ok() && info.links == 0) {
        error_ = ENOENT;
        return false;
    }
    return true;
}

bool SongFileWriter::Close() {
    if (!file_) return error_ == 0;
    bool ok = buffer_.empty() || Flush();
    const FileResult closed = file_->Close();
    if (!closed.ok() && error_ == 0) error_ = closed.error();
    file_.reset();
    buffer_.clear();
    return ok && error_ == 0;
}

}  // namespace wt
