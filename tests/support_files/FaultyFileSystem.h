#pragma once
// A disk that fills up and folders that vanish, on demand: the real files, with faults a test
// switches on while the code under test runs (from any thread).
#include "platform/FileSystem.h"

#include <cerrno>
#include <cstdint>
#include <mutex>
#include <string>

namespace wt::test {

class FaultyFileSystem : public FileSystemWrapper {
public:
    FaultyFileSystem() : FileSystemWrapper(RealFileSystem()) {}

    // After this many more bytes, writes fail with ENOSPC (the bytes that fit are written).
    void FillAfter(std::int64_t bytes);
    // Everything made or opened inside folder fails with ENOENT, as when it was deleted.
    void Vanish(const std::string& folder);
    // Flushes fail with EIO.
    void FailSyncs();
    void Heal();

    FileResult Open(const std::string& path, OpenMode mode, std::unique_ptr<OpenFile>* file) override;
    FileResult CreateUnique(const std::string& prefix, std::unique_ptr<OpenFile>* file, std::string* path) override;
    FileResult RenameOver(const std::string& from, const std::string& to) override;
    FileResult CreateFolders(const std::string& folder) override;
    FileResult CopyContents(OpenFile& from, OpenFile& to) override { return FileSystem::CopyContents(from, to); }

    // How many bytes the next write of count bytes may put down (count when no fault is set).
    std::size_t Allow(std::size_t count);
    bool SyncFails() const;

private:
    bool Gone(const std::string& path) const;

    mutable std::mutex lock_;
    std::int64_t room_ = -1;  // guarded by lock_; -1: no limit
    std::string vanished_;    // guarded by lock_
    bool syncFails_ = false;  // guarded by lock_
};

}  // namespace wt::test
