#pragma once
// TzIniData: the settings store, a keyed binary record file ("cfg.dat").
//
// A setting's name is reduced to a 32-bit key (CRC-32 of the name with 'a'..'z' upper-cased).
// Layout: a 16-byte header ("TzID", 0x1A, three zero bytes, creation time), a 24-byte
// information block (table offset, record count, last change time, change counter, reserved),
// the data area, then the record table of 12-byte entries (key, data offset, value or size)
// sorted by key as signed integers. Integer records keep their value in the entry; data
// records keep their bytes in the data area, raw (size > 0) or compressed (size < 0).
//
// The store works on the file in place and keeps it open while active. Every operation first
// re-reads the information block, so that changes another process makes are noticed through
// the change counter; every change is flushed to the disk before the operation returns. A
// change is made in a copy that replaces the file when it commits (see SettingsFile), so a
// crash never leaves a half-written store.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ProgramFolder.h"
#include "settings/SettingsFile.h"
#include "settings/zIniDataError.h"

namespace wt {

struct IniEntry {
    std::int32_t key = 0;
    std::int32_t dataOffset = 0;  // 0 for an integer record
    std::int32_t value = 0;       // integer value, or stored size (negative when compressed)
    bool IsInteger() const { return dataOffset == 0; }
};

class TzIniData {
public:
    // `programFolder` is where a file name without '/' is found.
    explicit TzIniData(std::string programFolder = ExecutableFolder());
    // Opens `fileName` at once.
    TzIniData(const std::string& fileName, bool readOnly, std::string programFolder = ExecutableFolder());
    // The same on the given files (a test's faulty disk); `files` must outlive the store.
    TzIniData(FileSystem& files, const std::string& fileName, bool readOnly,
              std::string programFolder = ExecutableFolder());
    ~TzIniData();
    TzIniData(const TzIniData&) = delete;
    TzIniData& operator=(const TzIniData&) = delete;

    // Assigning a non-empty name opens the store (closing it first when it is open on another
    // file); assigning the name it already has while open changes nothing.
    void SetFileName(const std::string& fileName);
    const std::string& FileName() const { return fileName_; }
    // The file the name designates: a name containing '/' as it is, else in the program folder.
    std::string ResolvedPath() const;

    bool Active() const { return active_; }
    void SetActive(bool active);
    bool ReadOnly() const { return readOnly_; }
    // Only while closed; raises EzIniDataError on an open store.
    void SetReadOnly(bool readOnly);

    // Re-reads the information block and re-synchronises the current record when another
    // writer changed the file. Every operation does this first.
    void Refresh();
    // The change counter as last seen.
    std::int32_t ChangeCounter() const { return lastCounter_; }
    // Called when a refresh took in a change made by another writer.
    std::function<void(TzIniData&)> AfterRefresh;

    std::string ReadString(std::string_view name, std::string_view defaultValue);
    bool WriteString(std::string_view name, std::string_view value);
    // Stores the lines, each followed by CR LF; an empty list removes the setting.
    bool WriteStrings(std::string_view name, const std::vector<std::string>& lines);
    std::int32_t ReadInteger(std::string_view name, std::int32_t defaultValue);
    bool WriteInteger(std::string_view name, std::int32_t value);
    bool ReadBool(std::string_view name, bool defaultValue);
    bool WriteBool(std::string_view name, bool value);
    bool DeleteValue(std::string_view name);

    // Whether a record with the name's key exists (an empty name designates none).
    bool ValueExists(std::string_view name);
    // Every record entry in table order (for tools that show the whole store).
    std::vector<IniEntry> Records();
    // A record's value as ReadString gives it.
    std::string RecordText(const IniEntry& entry);

    static std::int32_t KeyOf(std::string_view name);

private:
    struct Info {
        std::int32_t tableOffset = 0;
        std::int32_t recordCount = 0;
        double lastChange = 0;
        std::int32_t counter = 0;
        std::int32_t reserved = 0;
    };
    class ChangeScope;
    struct Found {
        bool found;
        std::int32_t index;  // of the entry, or where the key would be inserted
    };

    void Open();
    void Close() noexcept;
    void CreateEmptyFile(const std::string& path);
    [[noreturn]] void FailOpen(const char* message);

    void ReadInfo();
    void WriteInfo();
    bool InfoFitsFile() const;
    void Commit();
    IniEntry ReadEntry(std::int32_t index) const;
    void WriteEntry(std::int32_t index, const IniEntry& entry);
    Found Find(std::int32_t key) const;
    std::int32_t KeyForOperation(std::string_view name) const;
    void MoveBytes(std::int64_t from, std::int64_t length, std::int64_t distance);
    void InsertEntry(std::int32_t index, const IniEntry& entry);
    void DeleteAt(std::int32_t index);
    void StoreData(std::int32_t key, std::string_view bytes);
    bool ReadData(const IniEntry& entry, std::string& value) const;
    void SetCurrent(std::int32_t index);

    std::string programFolder_;
    std::string fileName_;
    bool readOnly_ = false;
    bool active_ = false;
    bool refreshing_ = false;
    SettingsFile file_;
    double creationTime_ = 0;
    Info info_;
    std::int32_t lastCounter_ = 0;
    std::optional<IniEntry> current_;
    std::int32_t currentIndex_ = -1;
};

}  // namespace wt
