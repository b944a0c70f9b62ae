#pragma once
// The one way core reaches files. Every module that reads or writes a file takes a FileSystem
// (the real one by default), so a test can hand it one that fails on purpose: a full disk, a
// folder deleted under the program. Every call returns what it came to; nothing is dropped.
//
// The calls are the few the program needs: open (read, read-write, create new, replace), read
// and write at an offset, append, truncate, flush to the disk, rename over, remove, list a
// folder, make folders. WriteWhole builds the crash-safe "new copy, flush, rename" on them.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace wt {

// What a file call came to: ok, or the system's error number (errno) of the step that failed.
class [[nodiscard]] FileResult {
public:
    FileResult() = default;
    static FileResult Error(int error) { return FileResult(error); }
    // errno as it stands (a failed system call just set it); never 0.
    static FileResult FromErrno();

    bool ok() const { return error_ == 0; }
    int error() const { return error_; }
    // The system's reason ("No space left on device"), empty when ok.
    std::string Reason() const;

private:
    explicit FileResult(int error) : error_(error) {}
    int error_ = 0;
};

// The identity of a file on its disk; two paths name the same file when these match.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

struct FileInfo {
    std::int64_t size = 0;
    unsigned permissions = 0;   // the mode's low 12 bits
    bool regular = false;       // a plain file (not a folder, device, pipe)
    std::uint32_t links = 0;    // 0 once the file has been deleted while open
    std::int64_t ageSeconds = 0;  // since its last write
    FileIdentity identity;
};

// An open file; closed when destroyed. Not shared between threads.
class OpenFile {
public:
    virtual ~OpenFile() = default;
    // Reads up to count bytes; *got < count only at the end of the file.
    virtual FileResult ReadAt(std::int64_t offset, void* buffer, std::size_t count, std::size_t* got) = 0;
    // Writes all count bytes, or fails (a short write is the error that stopped it).
    virtual FileResult WriteAt(std::int64_t offset, const void* bytes, std::size_t count) = 0;
    // Writes at the end. *written tells how many bytes made it, also when it failed.
    virtual FileResult Append(const void* bytes, std::size_t count, std::size_t* written) = 0;
    virtual FileResult Truncate(std::int64_t size) = 0;
    virtual FileResult Info(FileInfo* info) = 0;
    virtual FileResult SetPermissions(unsigned permissions) = 0;
    // Puts what was written on the disk.
    virtual FileResult Sync() = 0;
    // Closes now, reporting the close's error (destroying closes too, silently).
    virtual FileResult Close() = 0;

    // Reads exactly count bytes; a file shorter than that is EIO (the callers' "read error").
    FileResult ReadExactly(std::int64_t offset, void* buffer, std::size_t count);
};

enum class OpenMode {
    Read,           // existing file, read only
    ReadWrite,      // existing file
    CreateNew,      // a new file; fails with EEXIST when the name is taken, never follows a link
    Replace,        // created or emptied, read-write
};

struct FolderEntry {
    std::string name;
    std::int64_t ageSeconds = 0;  // since its last write
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual FileResult Open(const std::string& path, OpenMode mode, std::unique_ptr<OpenFile>* file) = 0;
    // A new file "<prefix>XXXXXX" (six random characters); its name in *path.
    virtual FileResult CreateUnique(const std::string& prefix, std::unique_ptr<OpenFile>* file, std::string* path) = 0;
    virtual FileResult Info(const std::string& path, FileInfo* info) = 0;
    // Renames from to to, in one step replacing a file named to.
    virtual FileResult RenameOver(const std::string& from, const std::string& to) = 0;
    virtual FileResult Remove(const std::string& path) = 0;
    // The names in a folder (without "." and ".."), with their age.
    virtual FileResult List(const std::string& folder, std::vector<FolderEntry>* entries) = 0;
    // Makes the folder and its missing parents; ok when it is there already.
    virtual FileResult CreateFolders(const std::string& folder) = 0;
    // Puts the folder's entries (a rename into it) on the disk.
    virtual FileResult SyncFolder(const std::string& folder) = 0;
    // Copies the whole of from into to (both open), from offset 0.
    virtual FileResult CopyContents(OpenFile& from, OpenFile& to);
};

// The operating system's files. Shared by every module; safe for any thread.
FileSystem& RealFileSystem();
// The same files, but Sync and SyncFolder do nothing: for throw-away files whose loss in a
// crash does not matter (a fuzzer's thousands of inputs a second).
FileSystem& UnsyncedFileSystem();

// Forwards every call to another file system, so that a test can change one call (LevelDB's
// EnvWrapper). `target` must outlive the wrapper.
class FileSystemWrapper : public FileSystem {
public:
    explicit FileSystemWrapper(FileSystem& target) : target_(target) {}
    FileResult Open(const std::string& path, OpenMode mode, std::unique_ptr<OpenFile>* file) override {
        return target_.Open(path, mode, file);
    }
    FileResult CreateUnique(const std::string& prefix, std::unique_ptr<OpenFile>* file, std::string* path) override {
        return target_.CreateUnique(prefix, file, path);
    }
    FileResult Info(const std::string& path, FileInfo* info) override { return target_.Info(path, info); }
    FileResult RenameOver(const std::string& from, const std::string& to) override {
        return target_.RenameOver(from, to);
    }
    FileResult Remove(const std::string& path) override { return target_.Remove(path); }
    FileResult List(const std::string& folder, std::vector<FolderEntry>* entries) override {
        return target_.List(folder, entries);
    }
    FileResult CreateFolders(const std::string& folder) override { return target_.CreateFolders(folder); }
    FileResult SyncFolder(const std::string& folder) override { return target_.SyncFolder(folder); }
    FileResult CopyContents(OpenFile& from, OpenFile& to) override { return target_.CopyContents(from, to); }

protected:
    FileSystem& target() { return target_; }

private:
    FileSystem& target_;
};

// Forwards every call to another open file; a test overrides the calls it wants to fail.
class OpenFileWrapper : public OpenFile {
public:
    explicit OpenFileWrapper(std::unique_ptr<OpenFile> target) : target_(std::move(target)) {}
    FileResult ReadAt(std::int64_t offset, void* buffer, std::size_t count, std::size_t* got) override {
        return target_->ReadAt(offset, buffer, count, got);
    }
    FileResult WriteAt(std::int64_t offset, const void* bytes, std::size_t count) override {
        return target_->WriteAt(offset, bytes, count);
    }
    FileResult Append(const void* bytes, std::size_t count, std::size_t* written) override {
        return target_->Append(bytes, count, written);
    }
    FileResult Truncate(std::int64_t size) override { return target_->Truncate(size); }
    FileResult Info(FileInfo* info) override { return target_->Info(info); }
    FileResult SetPermissions(unsigned permissions) override { return target_->SetPermissions(permissions); }
    FileResult Sync() override { return target_->Sync(); }
    FileResult Close() override { return target_->Close(); }

private:
    std::unique_ptr<OpenFile> target_;
};

// The folder part of a path ("." for a bare name).
std::string FolderOf(const std::string& path);

// Reads the whole file into *bytes.
FileResult ReadWholeFile(FileSystem& fs, const std::string& path, std::string* bytes);
// Copies the file from to a new file to (which must not exist yet), with its permissions. A
// failure leaves no part of a copy behind.
FileResult CopyWholeFile(FileSystem& fs, const std::string& from, const std::string& to);
// Writes bytes as the whole new content of path, crash-safe: a copy beside it
// ("<path>.new-XXXXXX"), flushed, renamed over path, the folder flushed. A failure leaves the
// old file as it was and no copy behind.
FileResult WriteWholeFile(FileSystem& fs, const std::string& path, std::string_view bytes);

}  // namespace wt
