#include "FaultyFileSystem.h"

#include <algorithm>

namespace wt::test {

namespace {

// The real file, with the writes and flushes the fault settings refuse.
class FaultyFile : public OpenFileWrapper {
public:
    FaultyFile(std::unique_ptr<OpenFile> file, FaultyFileSystem& disk) : OpenFileWrapper(std::move(file)), disk_(disk) {}

    FileResult WriteAt(std::int64_t offset, const void* bytes, std::size_t count) override {
        const std::size_t allowed = disk_.Allow(count);
        const FileResult wrote = OpenFileWrapper::WriteAt(offset, bytes, allowed);
        if (!wrote.ok()) return wrote;
        return allowed == count ? wrote : FileResult::Error(ENOSPC);
    }
    FileResult Append(const void* bytes, std::size_t count, std::size_t* written) override {
        const std::size_t allowed = disk_.Allow(count);
        const FileResult wrote = OpenFileWrapper::Append(bytes, allowed, written);
        if (!wrote.ok()) return wrote;
        return allowed == count ? wrote : FileResult::Error(ENOSPC);
    }
    FileResult Truncate(std::int64_t size) override {
        if (disk_.Allow(1) == 0) return FileResult::Error(ENOSPC);
        return OpenFileWrapper::Truncate(size);
    }
    FileResult Sync() override {
        if (disk_.SyncFails()) return FileResult::Error(EIO);
        return OpenFileWrapper::Sync();
    }

private:
    FaultyFileSystem& disk_;
};

}  // namespace

void FaultyFileSystem::FillAfter(std::int64_t bytes) {
    std::lock_guard<std::mutex> guard(lock_);
    room_ = bytes;
}

void FaultyFileSystem::Vanish(const std::string& folder) {
    std::lock_guard<std::mutex> guard(lock_);
    vanished_ = folder.empty() || folder.back() == '/' ? folder : folder + "/";
}

void FaultyFileSystem::FailSyncs() {
    std::lock_guard<std::mutex> guard(lock_);
    syncFails_ = true;
}

void FaultyFileSystem::Heal() {
    std::lock_guard<std::mutex> guard(lock_);
    room_ = -1;
    vanished_.clear();
    syncFails_ = false;
}

std::size_t FaultyFileSystem::Allow(std::size_t count) {
    std::lock_guard<std::mutex> guard(lock_);
    if (room_ < 0) return count;
    const auto allowed = static_cast<std::size_t>(std::min<std::int64_t>(room_, static_cast<std::int64_t>(count)));
    room_ -= static_cast<std::int64_t>(allowed);
    return allowed;
}

bool FaultyFileSystem::SyncFails() const {
    std::lock_guard<std::mutex> guard(lock_);
    return syncFails_;
}

bool FaultyFileSystem::Gone(const std::string& path) const {
    std::lock_guard<std::mutex> guard(lock_);
    return !vanished_.empty() && (path + "/").compare(0, vanished_.size(), vanished_) == 0;
}

FileResult FaultyFileSystem::Open(const std::string& path, OpenMode mode, std::unique_ptr<OpenFile>* file) {
    if (Gone(path)) return FileResult::Error(ENOENT);
    std::unique_ptr<OpenFile> real;
    const FileResult opened = FileSystemWrapper::Open(path, mode, &real);
    if (opened.ok()) *file = std::make_unique<FaultyFile>(std::move(real), *this);
    return opened;
}

FileResult FaultyFileSystem::CreateUnique(const std::string& prefix, std::unique_ptr<OpenFile>* file, std::string* path) {
    if (Gone(prefix)) return FileResult::Error(ENOENT);
    std::unique_ptr<OpenFile> real;
    const FileResult made = FileSystemWrapper::CreateUnique(prefix, &real, path);
    if (made.ok()) *file = std::make_unique<FaultyFile>(std::move(real), *this);
    return made;
}

FileResult FaultyFileSystem::RenameOver(const std::string& from, const std::string& to) {
    if (Gone(from) || Gone(to)) return FileResult::Error(ENOENT);
    return FileSystemWrapper::RenameOver(from, to);
}

FileResult FaultyFileSystem::CreateFolders(const std::string& folder) {
    if (Gone(folder)) return FileResult::Error(ENOENT);
    return FileSystemWrapper::CreateFolders(folder);
}

}  // namespace wt::test
