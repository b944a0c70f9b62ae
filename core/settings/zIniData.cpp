#include "settings/zIniData.h"

#include <cstring>
#include <string>
#include <fcntl.h>
#include <sys/stat.h>

#include "platform/ByteOrder.h"
#include "platform/FileNames.h"
#include "platform/StringList.h"
#include "platform/TextEncoding.h"
#include "settings/Crc32.h"
#include "settings/DateTime.h"
#include "settings/IniLayout.h"

namespace wt {

using namespace ini;

namespace {

void PutDouble(unsigned char* p, double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    WriteLE32(p, static_cast<std::uint32_t>(bits));
    WriteLE32(p + 4, static_cast<std::uint32_t>(bits >> 32));
}

double GetDouble(const unsigned char* p) {
    const std::uint64_t bits = ReadLE32(p) | (static_cast<std::uint64_t>(ReadLE32(p + 4)) << 32);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Sets the file's modification time at the two-second precision of a DOS file date.
void SetFileTimeFromDateTime(const std::string& path, double dateTime) {
    std::time_t t = TimeTFromDateTime(dateTime);
    if (t == static_cast<std::time_t>(-1)) return;
    t -= t % 2;
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = t;
    times[1].tv_nsec = 0;
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);  // failures are of no consequence
}

}  // namespace

TzIniData::TzIniData(std::string programFolder) : programFolder_(std::move(programFolder)) {}

TzIniData::TzIniData(const std::string& fileName, bool readOnly, std::string programFolder)
    : programFolder_(std::move(programFolder)), readOnly_(readOnly) {
    SetFileName(fileName);
}

TzIniData::TzIniData(FileSystem& files, const std::string& fileName, bool readOnly, std::string programFolder)
    : programFolder_(std::move(programFolder)), readOnly_(readOnly), file_(files) {
    SetFileName(fileName);
}

TzIniData::~TzIniData() { Close(); }

std::int32_t TzIniData::KeyOf(std::string_view name) {
    std::string upper(name);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return static_cast<std::int32_t>(Crc32(upper));
}

std::string TzIniData::ResolvedPath() const {
    if (fileName_.find('/') != std::string::npos) return fileName_;
    return JoinPath(WithTrailingSlash(programFolder_), fileName_);
}

void TzIniData::SetFileName(const std::string& fileName) {
    if (active_ && fileName == fileName_) return;
    Close();
    fileName_ = fileName;
    if (!fileName_.empty()) Open();
}

void TzIniData::SetActive(bool active) {
    if (active) Open();
    else Close();
}

void TzIniData::SetReadOnly(bool readOnly) {
    if (active_ && readOnly != readOnly_)
        throw EzIniDataError("Can't change ReadOnly property for opened file:\r" + fileName_);
    readOnly_ = readOnly;
}

void TzIniData::CreateEmptyFile(const std::string& path) {
    unsigned char bytes[kDataStart] = {};
    std::memcpy(bytes, kMagic, sizeof kMagic);
    const double now = NowDateTime();
    PutDouble(bytes + 8, now);
    WriteLE32(bytes + 16, kDataStart);
    PutDouble(bytes + 24, now);
    file_.Create(path, bytes, sizeof bytes);
}

void TzIniData::FailOpen(const char* message) {
    file_.Close();
    throw EzIniDataError(std::string(message) + fileName_);
}

void TzIniData::Open() {
    if (active_ || fileName_.empty()) return;
    const std::string path = ResolvedPath();
    if (!file_.Exists(path)) CreateEmptyFile(path);
    file_.Open(path, readOnly_);
    if (file_.Size() < kDataStart) FailOpen("zIniData Open: File is corrapted - ");
    unsigned char header[kHeaderSize];
    file_.ReadAt(0, header, sizeof header);
    if (std::memcmp(header, kMagic, sizeof kMagic) != 0) FailOpen("zIniData Open: Wrong file format - ");
    creationTime_ = GetDouble(header + 8);
    ReadInfo();
    // A table that does not fit the file would make every edit move the wrong bytes.
    if (!InfoFitsFile()) FailOpen("zIniData Open: File is corrapted - ");
    lastCounter_ = info_.counter;
    active_ = true;
    current_.reset();
    currentIndex_ = -1;
    if (info_.recordCount > 0) SetCurrent(0);
}

void TzIniData::Close() noexcept {
    if (!active_) return;
    file_.Close();
    active_ = false;
    current_.reset();
    currentIndex_ = -1;
    if (!readOnly_) SetFileTimeFromDateTime(ResolvedPath(), info_.lastChange);
}

void TzIniData::Refresh() {
    if (refreshing_) return;
    if (!active_) throw EzIniDataError("Table not in Open mode - " + fileName_);
    refreshing_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{refreshing_};

    file_.FollowReplacement();  // another writer's commit puts a new file in place
    ReadInfo();
    if (!InfoFitsFile()) throw EzIniDataError("zIniData Open: File is corrapted - " + fileName_);
    if (info_.counter == lastCounter_) return;
    lastCounter_ = info_.counter;
    if (current_) {
        const std::int32_t key = current_->key;
        if (currentIndex_ < info_.recordCount && ReadEntry(currentIndex_).key == key) {
            SetCurrent(currentIndex_);
        } else {
            const Found f = Find(key);
            if (f.found) {
                SetCurrent(f.index);
            } else {
                current_.reset();
                currentIndex_ = -1;
            }
        }
    }
    if (AfterRefresh) AfterRefresh(*this);
}

std::int32_t TzIniData::KeyForOperation(std::string_view name) const {
    if (!name.empty()) return KeyOf(name);
    // An empty name designates the current record.
    if (info_.recordCount == 0 || !current_) throw EzIniDataError("Invalide record name: ''");
    return current_->key;
}

std::string TzIniData::ReadString(std::string_view name, std::string_view defaultValue) {
    Refresh();
    const Found f = Find(KeyForOperation(name));
    if (!f.found) return std::string(defaultValue);
    SetCurrent(f.index);
    if (current_->IsInteger()) return std::to_string(current_->value);
    std::string bytes;
    if (!ReadData(*current_, bytes)) return std::string(defaultValue);
    return DecodeText(bytes);
}

std::string TzIniData::RecordText(const IniEntry& entry) {
    if (entry.IsInteger()) return std::to_string(entry.value);
    std::string bytes;
    ReadData(entry, bytes);
    return DecodeText(bytes);
}

// A change that fails half-way is dropped whole: the file stays as the last commit left it.
class TzIniData::ChangeScope {
public:
    explicit ChangeScope(TzIniData& store) : store_(store) {}
    ~ChangeScope() {
        if (!store_.file_.Changing()) return;
        store_.file_.Abandon();
        store_.current_.reset();
        store_.currentIndex_ = -1;
    }
    ChangeScope(const ChangeScope&) = delete;
    ChangeScope& operator=(const ChangeScope&) = delete;

private:
    TzIniData& store_;
};

bool TzIniData::WriteString(std::string_view name, std::string_view value) {
    ChangeScope scope(*this);
    Refresh();
    const std::int32_t key = KeyForOperation(name);
    if (readOnly_) return false;
    if (value.empty()) {
        const Found f = Find(key);
        if (f.found) {
            DeleteAt(f.index);
            Commit();
        }
        return false;
    }
    StoreData(key, value);
    return true;
}

bool TzIniData::WriteStrings(std::string_view name, const std::vector<std::string>& lines) {
    std::string text;
    try {
        text = JoinLinesCrLf(lines);
    } catch (const std::exception&) {
        throw EzIniDataError(std::string(name) + " - ERROR save to stream");
    }
    return WriteString(name, text);
}

std::int32_t TzIniData::ReadInteger(std::string_view name, std::int32_t defaultValue) {
    Refresh();
    const Found f = Find(KeyForOperation(name));
    if (!f.found) return defaultValue;
    SetCurrent(f.index);
    return current_->value;
}

bool TzIniData::WriteInteger(std::string_view name, std::int32_t value) {
    ChangeScope scope(*this);
    Refresh();
    const std::int32_t key = KeyForOperation(name);
    if (readOnly_) return false;
    Found f = Find(key);
    if (f.found) {
        IniEntry entry = ReadEntry(f.index);
        if (entry.IsInteger()) {
            entry.value = value;
            WriteEntry(f.index, entry);
            Commit();
            SetCurrent(f.index);
            return true;
        }
        DeleteAt(f.index);
        f = Find(key);
    }
    InsertEntry(f.index, IniEntry{key, 0, value});
    Commit();
    SetCurrent(f.index);
    return true;
}

bool TzIniData::ReadBool(std::string_view name, bool defaultValue) {
    Refresh();
    const Found f = Find(KeyForOperation(name));
    if (!f.found) return defaultValue;
    SetCurrent(f.index);
    return (current_->value & 0xFF) != 0;
}

bool TzIniData::WriteBool(std::string_view name, bool value) { return WriteInteger(name, value ? 1 : 0); }

bool TzIniData::DeleteValue(std::string_view name) {
    ChangeScope scope(*this);
    Refresh();
    if (name.empty()) return false;
    if (readOnly_) throw EzIniDataError("Can't write ReadOnly mode opened file:\r" + fileName_);
    const Found f = Find(KeyOf(name));
    if (!f.found) return false;
    DeleteAt(f.index);
    Commit();
    return true;
}

bool TzIniData::ValueExists(std::string_view name) {
    Refresh();
    return !name.empty() && Find(KeyOf(name)).found;
}

std::vector<IniEntry> TzIniData::Records() {
    Refresh();
    std::vector<IniEntry> entries;
    entries.reserve(static_cast<std::size_t>(info_.recordCount));
    for (std::int32_t i = 0; i < info_.recordCount; ++i) entries.push_back(ReadEntry(i));
    return entries;
}

void TzIniData::ReadInfo() {
    unsigned char block[kInfoSize];
    file_.ReadAt(kInfoOffset, block, sizeof block);
    info_.tableOffset = static_cast<std::int32_t>(ReadLE32(block));
    info_.recordCount = static_cast<std::int32_t>(ReadLE32(block + 4));
    info_.lastChange = GetDouble(block + 8);
    info_.counter = static_cast<std::int32_t>(ReadLE32(block + 16));
    info_.reserved = static_cast<std::int32_t>(ReadLE32(block + 20));
}

void TzIniData::WriteInfo() {
    info_.lastChange = NowDateTime();
    unsigned char block[kInfoSize];
    WriteLE32(block, static_cast<std::uint32_t>(info_.tableOffset));
    WriteLE32(block + 4, static_cast<std::uint32_t>(info_.recordCount));
    PutDouble(block + 8, info_.lastChange);
    WriteLE32(block + 16, static_cast<std::uint32_t>(info_.counter));
    WriteLE32(block + 20, static_cast<std::uint32_t>(info_.reserved));
    file_.WriteAt(kInfoOffset, block, sizeof block);
}

bool TzIniData::InfoFitsFile() const {
    if (info_.tableOffset < kDataStart || info_.recordCount < 0) return false;
    return static_cast<std::int64_t>(info_.tableOffset) + std::int64_t{kEntrySize} * info_.recordCount <= file_.Size();
}

void TzIniData::Commit() {
    ReadInfo();
    info_.counter = info_.counter == kLastCounter
                        ? 0
                        : static_cast<std::int32_t>(static_cast<std::uint32_t>(info_.counter) + 1u);
    lastCounter_ = info_.counter;
    WriteInfo();
    file_.Commit();
}

}  // namespace wt
