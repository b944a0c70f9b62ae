#pragma once
// The settings file on disk: positioned reads and writes on an open descriptor. Other
// processes may have the same file open; nothing is locked.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace wt {

// A failure of the file system (open, read, write, resize, flush), with the system's reason.
class EFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class SettingsFile {
public:
    SettingsFile() = default;
    ~SettingsFile();
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;

    // Writes a new file holding `size` bytes; fails when the file already exists.
    static void Create(const std::string& path, const void* bytes, std::size_t size);

    void Open(const std::string& path, bool readOnly);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }

    std::int64_t Size() const;
    // Reads exactly `count` bytes; a short read is an error ("Stream read error").
    void ReadAt(std::int64_t offset, void* buffer, std::size_t count) const;
    void WriteAt(std::int64_t offset, const void* buffer, std::size_t count);
    void Truncate(std::int64_t size);
    // Flushes the file's data to the disk.
    void Sync();

private:
    int fd_ = -1;
    std::string path_;
};

}  // namespace wt
