#pragma once
// The settings file on disk: positioned reads and writes on an open descriptor. Other
// processes may have the same file open; nothing is locked.
//
// A change never touches the file in place: the first write after a commit copies the file to
// a new one beside it ("<name>.new-XXXXXX"), the writes and reads until the commit go to that
// copy, and the commit flushes it and renames it over the old file. A crash at any moment
// leaves either the old file or the new one, whole.
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/FileSystem.h"

namespace wt {

// A failure of the file system (open, read, write, resize, flush), with the system's reason.
class EFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class SettingsFile {
public:
    // `files` must outlive this object.
    explicit SettingsFile(FileSystem& files = RealFileSystem()) : files_(files) {}
    ~SettingsFile();
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;

    // Writes a new file holding `size` bytes; fails when the file already exists.
    void Create(const std::string& path, const void* bytes, std::size_t size);
    // Whether a file (of any kind) has this name.
    bool Exists(const std::string& path) const;

    void Open(const std::string& path, bool readOnly);
    void Close();
    bool IsOpen() const { return file_ != nullptr; }

    // True while written changes wait for Commit.
    bool Changing() const { return old_ != nullptr; }
    // Flushes the changed copy and puts it in place of the file (and flushes the folder).
    // Without changes, flushes the file.
    void Commit();
    // Drops the changes since the last commit; the file is as it was.
    void Abandon() noexcept;
    // When another writer has put a new file in place of the one open here, opens that one.
    // True when it did.
    bool FollowReplacement();

    std::int64_t Size() const;
    // Reads exactly `count` bytes; a short read is an error ("Stream read error").
    void ReadAt(std::int64_t offset, void* buffer, std::size_t count) const;
    void WriteAt(std::int64_t offset, const void* buffer, std::size_t count);
    void Truncate(std::int64_t size);
private:
    void BeginChange();
    void RemoveStaleCopies();

    FileSystem& files_;
    std::unique_ptr<OpenFile> file_;  // the file, or while changing, the copy
    std::unique_ptr<OpenFile> old_;   // while changing: the file itself
    bool readOnly_ = false;
    std::string path_;
    std::string copyPath_;
};

}  // namespace wt
