#pragma once
// Writes one song to a new file of its own, through a buffer. The file is always created
// new: an existing file is never emptied or written over, and a symbolic link in its place
// is never followed; when the title's name is taken, the next free "Title (2).mp3",
// "Title (3).mp3" ... is used. A failed write keeps what was written before it.
#include <cerrno>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/FileSystem.h"

namespace wt {

class SongFileWriter {
public:
    // Flushed when this much is buffered (and by the caller at least once a second).
    static constexpr std::size_t kBufferBytes = 16 * 1024;

    // `files` must outlive the writer.
    explicit SongFileWriter(FileSystem& files = RealFileSystem()) : files_(files) {}
    ~SongFileWriter() { Close(); }
    SongFileWriter(const SongFileWriter&) = delete;
    SongFileWriter& operator=(const SongFileWriter&) = delete;

    // Creates the folder when it is missing (it may have been deleted during the rip), then
    // the song's file. False with Error() set when neither the name nor any free variant of
    // it could be created.
    bool Open(const std::string& folder, const std::string& title, const std::string& extension);
    // Buffers the bytes; false when a write of the buffer failed (then nothing more is taken).
    bool Append(const char* data, std::size_t size);
    // Writes the buffer out; also checks that the file has not been deleted meanwhile
    // (a write into a deleted file would succeed and be lost).
    bool Flush();
    // Flushes and closes; false when that flush failed.
    bool Close();

    bool IsOpen() const { return file_ != nullptr; }
    const std::string& Path() const { return path_; }
    // Bytes in the file plus bytes waiting in the buffer.
    std::uint64_t Bytes() const { return written_ + buffer_.size(); }
    // errno of the last failure (ENOENT for a file deleted under the writer), 0 if none.
    int Error() const { return error_; }
    bool DiskFull() const { return error_ == ENOSPC || error_ == EDQUOT; }

private:
    FileSystem& files_;
    std::unique_ptr<OpenFile> file_;
    std::string path_;
    std::string buffer_;
    std::uint64_t written_ = 0;
    int error_ = 0;
};

// The file name of a song: the sanitised title (see SanitizeFileName) with the extension,
// and " (n)" before the extension for n > 1. A title that would make a hidden file (a
// leading '.') gets '_' in place of its dot.
std::string SongFileName(const std::string& title, const std::string& extension, int n = 1);

}  // namespace wt
