#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

namespace wt {

FileResult FileResult::FromErrno() { return FileResult(errno != 0 ? errno : EIO); }

std::string FileResult::Reason() const { return ok() ? std::string() : std::strerror(error_); }

FileResult OpenFile::ReadExactly(std::int64_t offset, void* buffer, std::size_t count) {
    std::size_t got = 0;
    const FileResult read = ReadAt(offset, buffer, count, &got);
    if (!read.ok()) return read;
    return got == count ? FileResult() : FileResult::Error(EIO);
}

FileResult FileSystem::CopyContents(OpenFile& from, OpenFile& to) {
    char buffer[65536];
    for (std::int64_t offset = 0;;) {
        std::size_t got = 0;
        FileResult step = from.ReadAt(offset, buffer, sizeof buffer, &got);
        if (step.ok() && got > 0) step = to.WriteAt(offset, buffer, got);
        if (!step.ok() || got == 0) return step;
        offset += static_cast<std::int64_t>(got);
    }
}

namespace {

std::int64_t AgeOf(const struct stat& st) {
    return static_cast<std::int64_t>(std::time(nullptr)) - static_cast<std::int64_t>(st.st_mtime);
}

void FillInfo(const struct stat& st, FileInfo* info) {
    info->size = st.st_size;
    info->permissions = st.st_mode & 07777;
    info->regular = S_ISREG(st.st_mode);
    info->links = static_cast<std::uint32_t>(st.st_nlink);
    info->ageSeconds = AgeOf(st);
    info->identity = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

class PosixFile : public OpenFile {
public:
    PosixFile(int fd, bool sync) : fd_(fd), sync_(sync) {}
    ~PosixFile() override {
        if (fd_ >= 0) ::close(fd_);
    }
    int Descriptor() const { return fd_; }

    FileResult ReadAt(std::int64_t offset, void* buffer, std::size_t count, std::size_t* got) override {
        auto* p = static_cast<char*>(buffer);
        *got = 0;
        while (*got < count) {
            const ssize_t n = ::pread(fd_, p + *got, count - *got, static_cast<off_t>(offset + static_cast<std::int64_t>(*got)));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return FileResult::FromErrno();
            if (n == 0) break;
            *got += static_cast<std::size_t>(n);
        }
        return {};
    }
    FileResult WriteAt(std::int64_t offset, const void* bytes, std::size_t count) override {
        const auto* p = static_cast<const char*>(bytes);
        for (std::size_t done = 0; done < count;) {
            const ssize_t n = ::pwrite(fd_, p + done, count - done, static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return FileResult::FromErrno();
            if (n == 0) return FileResult::Error(ENOSPC);
            done += static_cast<std::size_t>(n);
        }
        return {};
    }
    FileResult Append(const void* bytes, std::size_t count, std::size_t* written) override {
        const auto* p = static_cast<const char*>(bytes);
        *written = 0;
        while (*written < count) {
            const ssize_t n = ::write(fd_, p + *written, count - *written);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return FileResult::FromErrno();
            if (n == 0) return FileResult::Error(ENOSPC);
            *written += static_cast<std::size_t>(n);
        }
        return {};
    }
    FileResult Truncate(std::int64_t size) override {
        return ::ftruncate(fd_, static_cast<off_t>(size)) == 0 ? FileResult() : FileResult::FromErrno();
    }
    FileResult Info(FileInfo* info) override {
        struct stat st {};
        if (::fstat(fd_, &st) != 0) return FileResult::FromErrno();
        FillInfo(st, info);
        return {};
    }
    FileResult SetPermissions(unsigned permissions) override {
        return ::fchmod(fd_, permissions) == 0 ? FileResult() : FileResult::FromErrno();
    }
    FileResult Sync() override {
        if (!sync_) return {};
        return ::fsync(fd_) == 0 ? FileResult() : FileResult::FromErrno();
    }
    FileResult Close() override {
        if (fd_ < 0) return {};
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0 ? FileResult() : FileResult::FromErrno();
    }

private:
    int fd_;
    bool sync_;
};

class PosixFileSystem : public FileSystem {
public:
    explicit PosixFileSystem(bool sync) : sync_(sync) {}

    FileResult Open(const std::string& path, OpenMode mode, std::unique_ptr<OpenFile>* file) override {
        int flags = O_CLOEXEC;
        switch (mode) {
        case OpenMode::Read: flags |= O_RDONLY; break;
        case OpenMode::ReadWrite: flags |= O_RDWR; break;
        case OpenMode::CreateNew: flags |= O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW; break;
        case OpenMode::Replace: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
        }
        const int fd = ::open(path.c_str(), flags, 0644);
        if (fd < 0) return FileResult::FromErrno();
        *file = std::make_unique<PosixFile>(fd, sync_);
        return {};
    }
    FileResult CreateUnique(const std::string& prefix, std::unique_ptr<OpenFile>* file, std::string* path) override {
        std::string pattern = prefix + "XXXXXX";
        const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
        if (fd < 0) return FileResult::FromErrno();
        *file = std::make_unique<PosixFile>(fd, sync_);
        *path = std::move(pattern);
        return {};
    }
    FileResult Info(const std::string& path, FileInfo* info) override {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0) return FileResult::FromErrno();
        FillInfo(st, info);
        return {};
    }
    FileResult RenameOver(const std::string& from, const std::string& to) override {
        return ::rename(from.c_str(), to.c_str()) == 0 ? FileResult() : FileResult::FromErrno();
    }
    FileResult Remove(const std::string& path) override {
        return ::unlink(path.c_str()) == 0 ? FileResult() : FileResult::FromErrno();
    }
    FileResult List(const std::string& folder, std::vector<FolderEntry>* entries) override {
        DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
        if (!dir) return FileResult::FromErrno();
        entries->clear();
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            struct stat st {};
            const bool known = ::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0;
            entries->push_back({name, known ? AgeOf(st) : 0});
        }
        ::closedir(dir);
        return {};
    }
    FileResult CreateFolders(const std::string& folder) override {
        if (folder.empty()) return {};
        for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
            const std::string part = folder.substr(0, slash);
            if (!part.empty() && ::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return FileResult::FromErrno();
            if (slash == std::string::npos) break;
        }
        struct stat st {};
        if (::stat(folder.c_str(), &st) != 0) return FileResult::FromErrno();
        return S_ISDIR(st.st_mode) ? FileResult() : FileResult::Error(ENOTDIR);
    }
    FileResult SyncFolder(const std::string& folder) override {
        if (!sync_) return {};
        const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return FileResult::FromErrno();
        const bool ok = ::fsync(fd) == 0;
        FileResult result = ok ? FileResult() : FileResult::FromErrno();
        ::close(fd);
        return result;
    }
    FileResult CopyContents(OpenFile& from, OpenFile& to) override {
        // The kernel copies, sharing blocks where the file system can; the plain loop is the
        // fallback (and the way for files that are not ours).
        auto* source = dynamic_cast<PosixFile*>(&from);
        auto* target = dynamic_cast<PosixFile*>(&to);
        FileInfo info;
        if (!source || !target || !from.Info(&info).ok()) return FileSystem::CopyContents(from, to);
        off_t in = 0, out = 0;
        while (in < info.size) {
            const ssize_t n = ::copy_file_range(source->Descriptor(), &in, target->Descriptor(), &out,
                                                static_cast<std::size_t>(info.size - in), 0);
            if (n > 0) continue;
            if (n < 0 && errno == EINTR) continue;
            return FileSystem::CopyContents(from, to);
        }
        return {};
    }

private:
    bool sync_;
};

}  // namespace

FileSystem& RealFileSystem() {
    static PosixFileSystem files(true);
    return files;
}

FileSystem& UnsyncedFileSystem() {
    static PosixFileSystem files(false);
    return files;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

FileResult ReadWholeFile(FileSystem& fs, const std::string& path, std::string* bytes) {
    std::unique_ptr<OpenFile> file;
    FileResult result = fs.Open(path, OpenMode::Read, &file);
    FileInfo info;
    if (result.ok()) result = file->Info(&info);
    if (!result.ok()) return result;
    bytes->clear();
    char buffer[65536];
    for (std::int64_t offset = 0;;) {
        std::size_t got = 0;
        result = file->ReadAt(offset, buffer, sizeof buffer, &got);
        if (!result.ok() || got == 0) return result;
        bytes->append(buffer, got);
        offset += static_cast<std::int64_t>(got);
    }
}

FileResult CopyWholeFile(FileSystem& fs, const std::string& from, const std::string& to) {
    std::unique_ptr<OpenFile> source, target;
    FileResult result = fs.Open(from, OpenMode::Read, &source);
    if (result.ok()) result = fs.Open(to, OpenMode::CreateNew, &target);
    const bool made = result.ok();
    FileInfo original;
    if (result.ok()) result = source->Info(&original);
    if (result.ok()) result = target->SetPermissions(original.permissions);
    if (result.ok()) result = fs.CopyContents(*source, *target);
    if (result.ok()) result = target->Close();
    if (!result.ok() && made) {
        target.reset();
        (void)fs.Remove(to);  // half a copy is no copy; the failure reported is the copy's
    }
    return result;
}

FileResult WriteWholeFile(FileSystem& fs, const std::string& path, std::string_view bytes) {
    std::unique_ptr<OpenFile> copy;
    std::string copyPath;
    FileResult result = fs.CreateUnique(path + ".new-", &copy, &copyPath);
    if (!result.ok()) return result;
    result = copy->SetPermissions(0644);
    if (result.ok()) result = copy->WriteAt(0, bytes.data(), bytes.size());
    if (result.ok()) result = copy->Sync();
    if (result.ok()) result = copy->Close();
    if (result.ok()) result = fs.RenameOver(copyPath, path);
    if (!result.ok()) {
        copy.reset();
        (void)fs.Remove(copyPath);  // the failure to report is the write's; the copy is only litter
        return result;
    }
    (void)fs.SyncFolder(FolderOf(path));  // the file itself is on the disk; the rename is best effort
    return result;
}

}  // namespace wt
