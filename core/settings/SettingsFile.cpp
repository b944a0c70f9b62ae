#include "settings/SettingsFile.h"

#include <cerrno>
#include <chrono>

namespace wt {

namespace {
[[noreturn]] void Fail(const std::string& what, const std::string& path, const FileResult& result) {
    throw EFileError(what + " \"" + path + "\". " + result.Reason());
}
void Check(const FileResult& result, const std::string& what, const std::string& path) {
    if (!result.ok()) Fail(what, path, result);
}
constexpr const char* kCopyMark = ".new-";
// A copy younger than this may belong to another writer's change under way.
constexpr std::int64_t kStaleCopySeconds = 60;

std::string NameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
}  // namespace

SettingsFile::~SettingsFile() { Close(); }

void SettingsFile::Create(const std::string& path, const void* bytes, std::size_t size) {
    std::unique_ptr<OpenFile> file;
    Check(files_.Open(path, OpenMode::CreateNew, &file), "Cannot create file", path);
    Check(file->WriteAt(0, bytes, size), "Cannot write file", path);
    Check(file->Close(), "Cannot write file", path);
}

bool SettingsFile::Exists(const std::string& path) const {
    FileInfo info;
    return files_.Info(path, &info).ok();
}

void SettingsFile::Open(const std::string& path, bool readOnly) {
    Close();
    Check(files_.Open(path, readOnly ? OpenMode::Read : OpenMode::ReadWrite, &file_), "Cannot open file", path);
    path_ = path;
    readOnly_ = readOnly;
    if (!readOnly) RemoveStaleCopies();
}

// Copies left by a change that a crash interrupted; a young one stays (see kStaleCopySeconds).
// Litter only: a copy that cannot be listed or removed changes nothing for the store.
void SettingsFile::RemoveStaleCopies() {
    const std::string folder = FolderOf(path_);
    const std::string prefix = NameOf(path_) + kCopyMark;
    std::vector<FolderEntry> entries;
    if (!files_.List(folder, &entries).ok()) return;
    for (const auto& entry : entries) {
        if (entry.name.size() != prefix.size() + 6 || entry.name.compare(0, prefix.size(), prefix) != 0) continue;
        if (entry.ageSeconds > kStaleCopySeconds) (void)files_.Remove(folder + "/" + entry.name);
    }
}

void SettingsFile::Close() {
    Abandon();
    file_.reset();
}

void SettingsFile::BeginChange() {
    if (Changing()) return;
    std::unique_ptr<OpenFile> copy;
    std::string copyPath;
    Check(files_.CreateUnique(path_ + kCopyMark, &copy, &copyPath), "Cannot create file", path_ + kCopyMark + "XXXXXX");
    FileInfo info;
    FileResult result = file_->Info(&info);
    if (result.ok()) result = copy->SetPermissions(info.permissions);
    if (result.ok()) result = files_.CopyContents(*file_, *copy);
    if (!result.ok()) {
        copy.reset();
        (void)files_.Remove(copyPath);  // the copy is only litter; the failure reported is the copy's
        Fail("Cannot write file", copyPath, result);
    }
    old_ = std::move(file_);
    file_ = std::move(copy);
    copyPath_ = copyPath;
}

void SettingsFile::Commit() {
    if (!Changing()) {
        Check(file_->Sync(), "Cannot flush file", path_);
        return;
    }
    Check(file_->Sync(), "Cannot flush file", copyPath_);
    Check(files_.RenameOver(copyPath_, path_), "Cannot replace file", path_);
    old_.reset();
    copyPath_.clear();
    // The file itself is on the disk; the folder's flush (the rename's) is best effort.
    (void)files_.SyncFolder(FolderOf(path_));
}

void SettingsFile::Abandon() noexcept {
    if (!Changing()) return;
    file_ = std::move(old_);
    (void)files_.Remove(copyPath_);  // dropping changes: a copy left behind is removed as stale later
    copyPath_.clear();
}

bool SettingsFile::FollowReplacement() {
    if (Changing() || !file_) return false;
    FileInfo open, named;
    if (!file_->Info(&open).ok() || !files_.Info(path_, &named).ok()) return false;
    if (open.identity == named.identity) return false;
    std::unique_ptr<OpenFile> replacement;
    Check(files_.Open(path_, readOnly_ ? OpenMode::Read : OpenMode::ReadWrite, &replacement), "Cannot open file", path_);
    file_ = std::move(replacement);
    return true;
}

std::int64_t SettingsFile::Size() const {
    FileInfo info;
    Check(file_->Info(&info), "Cannot read file", path_);
    return info.size;
}

void SettingsFile::ReadAt(std::int64_t offset, void* buffer, std::size_t count) const {
    std::size_t got = 0;
    Check(file_->ReadAt(offset, buffer, count, &got), "Cannot read file", path_);
    if (got != count) throw EFileError("Stream read error");
}

void SettingsFile::WriteAt(std::int64_t offset, const void* buffer, std::size_t count) {
    BeginChange();
    Check(file_->WriteAt(offset, buffer, count), "Cannot write file", path_);
}

void SettingsFile::Truncate(std::int64_t size) {
    BeginChange();
    Check(file_->Truncate(size), "Cannot resize file", path_);
}

}  // namespace wt
