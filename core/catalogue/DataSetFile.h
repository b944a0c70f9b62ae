#pragma once
// The binary data set file ("BDS"): a 24-byte header, 41-byte field descriptors, then
// fixed-size records back to back. The records are kept in memory behind the file so that
// moves and searches cost no reads; every change is written to the file at once.
//
// Writes are ordered so that a crash never leaves a file that looks sound but is not: a
// changed record is one write in place, a new record one write at the end (a torn one leaves
// a tail shorter than a record, which the repair cuts off), and anything that moves records
// (delete, move, reorder) or a bulk change writes the whole file to a copy beside it that is
// flushed and renamed over the old one.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/FieldTypes.h"
#include "platform/FileSystem.h"

namespace wt {

inline constexpr std::int32_t kHeaderSize = 24;
inline constexpr std::int32_t kDescriptorSize = 41;
inline constexpr std::int32_t kMaxFieldNameChars = 27;
// The largest record a file may declare; far above any real layout (a catalogue record is
// 443 bytes), it keeps a forged header from making one new record cost gigabytes.
inline constexpr std::int64_t kMaxRecordSize = 1 << 20;

struct FieldDescriptor {
    std::string Name;
    std::uint8_t TypeCode = 0;
    std::int32_t Width = 0;
    std::int32_t Size = 0;
    std::int32_t Offset = 0;  // in the record: the sum of the widths before it
};

// What the header and descriptors of a file say, after validation.
struct DataSetLayout {
    std::vector<FieldDescriptor> Fields;
    std::int32_t HeaderRecordSize = 0;
    std::int32_t RecordSize = 0;  // computed from the descriptors
    std::int64_t DataStart = 0;
    std::int64_t RecordCount = 0;
};

// Validates the first bytes of a file of fileSize bytes (head holds at least the header and
// descriptors when they fit in the file). Throws EzDatasetError with the refusal texts.
DataSetLayout ParseDataSetLayout(const unsigned char* head, std::size_t headSize,
                                 std::int64_t fileSize);

// Creates (replacing) an empty file with these fields. Unsupported types are refused with
// "InitFieldsDefs: Unsupported field type" before anything is created.
void CreateDataSetFile(const std::string& path, const std::vector<FieldDef>& defs,
                       FileSystem& files = RealFileSystem());
// The bytes such a file holds.
std::vector<unsigned char> EmptyDataSetImage(const std::vector<FieldDef>& defs);

class DataSetFile {
public:
    // `files` must outlive this object.
    explicit DataSetFile(FileSystem& files = RealFileSystem()) : files_(&files) {}
    ~DataSetFile();
    DataSetFile(const DataSetFile&) = delete;
    DataSetFile& operator=(const DataSetFile&) = delete;

    // Opens for reading and writing (read-only when the file refuses writing and
    // mayFallBackToReadOnly), validates and loads the records. On a refusal the file is closed.
    void Open(const std::string& path, bool mayFallBackToReadOnly);
    // Puts the computed record size into a header that holds 0, then closes.
    void Close();
    bool IsOpen() const { return file_ != nullptr; }
    // Only while closed; `files` must outlive this object.
    void SetFileSystem(FileSystem& files) { files_ = &files; }
    FileSystem& Files() const { return *files_; }

    const DataSetLayout& Layout() const { return layout_; }
    std::int32_t RecordSize() const { return layout_.RecordSize; }
    std::int32_t RecordCount() const { return count_; }
    const unsigned char* Record(std::int32_t index) const {
        return records_.data() + static_cast<std::size_t>(index) * layout_.RecordSize;
    }

    void WriteRecord(std::int32_t index, const unsigned char* bytes);
    void AppendRecord(const unsigned char* bytes);
    // Moves the following records one toward the start and cuts the file by one record.
    void DeleteRecord(std::int32_t index);
    // Carries the record at from to to; the records between shift by one toward from.
    void MoveRecord(std::int32_t from, std::int32_t to);
    // Reorders all records: record i becomes the record that was at order[i].
    void Reorder(const std::vector<std::int32_t>& order);

    // Between these, changes stay in memory; EndBulk puts the whole new file in place at once
    // (nothing of the change reaches the disk when the process dies before).
    void BeginBulk() { bulk_ = true; }
    void EndBulk();

private:
    void WriteRange(std::int32_t first, std::int32_t count);
    // Writes the whole file to a copy and renames it over the file.
    void ReplaceWhole();
    void WriteAt(OpenFile& file, std::int64_t offset, const unsigned char* bytes, std::size_t size);

    FileSystem* files_;
    std::unique_ptr<OpenFile> file_;
    bool writable_ = false;  // false when a read-only data set fell back to reading
    std::string path_;
    unsigned char header_[kHeaderSize] = {};
    std::vector<unsigned char> prefix_;  // every byte before the first record
    bool bulk_ = false;
    bool bulkDirty_ = false;
    DataSetLayout layout_;
    std::int32_t count_ = 0;
    std::vector<unsigned char> records_;
};

}  // namespace wt
