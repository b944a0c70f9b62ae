#include "catalogue/DataSetFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include "catalogue/DatasetError.h"
#include "platform/ByteOrder.h"

namespace wt {

namespace {

constexpr unsigned char kMagic[4] = {0x42, 0x44, 0x53, 0x1A};

std::int32_t ReadI32(const unsigned char* p) { return static_cast<std::int32_t>(ReadLE32(p)); }
void WriteI32(unsigned char* p, std::int32_t v) { WriteLE32(p, static_cast<std::uint32_t>(v)); }

[[noreturn]] void RefuseLength(std::int64_t dataStart, std::int64_t count, std::int64_t recordSize,
                               std::int64_t fileSize) {
    throw EzDatasetError("Internal open: Invalid record size.\rStartData   : " +
                         std::to_string(dataStart) + "\rfRecordCount: " + std::to_string(count) +
                         "\rfRecordSize : " + std::to_string(recordSize) +
                         "\rfStream.SIze: " + std::to_string(fileSize));
}

bool ReadAt(OpenFile& file, unsigned char* out, std::size_t size, std::int64_t offset) {
    return file.ReadExactly(offset, out, size).ok();
}

}  // namespace

DataSetLayout ParseDataSetLayout(const unsigned char* head, std::size_t headSize,
                                 std::int64_t fileSize) {
    if (headSize < 4 || std::memcmp(head, kMagic, 4) != 0)
        throw EzDatasetError("Not a binary data set file.");
    if (headSize < 8 || ReadI32(head + 4) != 1) throw EzDatasetError("Invalid data file version.");
    // A field count whose descriptors do not fit in the file is refused like a count below 1:
    // nothing is read or allocated beyond the file's own bytes.
    std::int64_t fieldCount = headSize >= 20 ? ReadI32(head + 16) : 0;
    if (headSize < static_cast<std::size_t>(kHeaderSize) || fieldCount <= 0 ||
        kHeaderSize + kDescriptorSize * fieldCount > fileSize ||
        kHeaderSize + kDescriptorSize * fieldCount > static_cast<std::int64_t>(headSize))
        throw EzDatasetError("Invalid number of fields.");

    DataSetLayout layout;
    layout.HeaderRecordSize = ReadI32(head + 8);
    layout.DataStart = ReadI32(head + 20);
    std::int64_t recordSize = 0;
    bool widthsSound = true;
    layout.Fields.reserve(static_cast<std::size_t>(fieldCount));
    for (std::int64_t i = 0; i < fieldCount; ++i) {
        const unsigned char* d = head + kHeaderSize + kDescriptorSize * i;
        FieldDescriptor field;
        field.Name.assign(reinterpret_cast<const char*>(d), strnlen(reinterpret_cast<const char*>(d), 28));
        field.TypeCode = d[28];
        field.Width = ReadI32(d + 29);
        field.Size = ReadI32(d + 33);
        if (field.Width < 0) widthsSound = false;
        field.Offset = static_cast<std::int32_t>(std::clamp<std::int64_t>(recordSize, 0, INT32_MAX));
        recordSize += field.Width;
        layout.Fields.push_back(std::move(field));
    }
    std::int64_t count = recordSize < 1 ? 0 : (fileSize - layout.DataStart) / recordSize;
    if (count > 0 && widthsSound && recordSize <= kMaxRecordSize && layout.HeaderRecordSize != recordSize)
        throw EzDatasetError("Internal open: File record size mismatch.");
    // Besides the length rule, records may not overlap the header or descriptors, and the
    // widths must give a record size that can be addressed and held: such files would make
    // writes land in the header, reads leave the record, or a new record need gigabytes.
    if (fileSize != layout.DataStart + count * recordSize || count < 0 || !widthsSound ||
        recordSize > kMaxRecordSize || count > INT32_MAX ||
        layout.DataStart < kHeaderSize + kDescriptorSize * fieldCount)
        RefuseLength(layout.DataStart, count, recordSize, fileSize);
    layout.RecordSize = static_cast<std::int32_t>(recordSize);
    layout.RecordCount = count;
    return layout;
}

std::vector<unsigned char> EmptyDataSetImage(const std::vector<FieldDef>& defs) {
    std::vector<unsigned char> image(kHeaderSize + kDescriptorSize * defs.size(), 0);
    std::int64_t recordSize = 0;
    for (std::size_t i = 0; i < defs.size(); ++i) {
        auto width = FieldWidth(defs[i].DataType, defs[i].Size);
        if (!width) throw EzDatasetError("InitFieldsDefs: Unsupported field type");
        unsigned char* d = image.data() + kHeaderSize + kDescriptorSize * i;
        std::size_t n = std::min<std::size_t>(defs[i].Name.size(), kMaxFieldNameChars);
        std::memcpy(d, defs[i].Name.data(), n);
        d[28] = static_cast<unsigned char>(defs[i].DataType);
        WriteI32(d + 29, *width);
        WriteI32(d + 33, defs[i].DataType == FieldType::ftString ? defs[i].Size : 0);
        WriteI32(d + 37, defs[i].Precision);
        recordSize += *width;
    }
    std::memcpy(image.data(), kMagic, 4);
    WriteI32(image.data() + 4, 1);
    WriteI32(image.data() + 8, static_cast<std::int32_t>(recordSize));
    WriteI32(image.data() + 12, 0);
    WriteI32(image.data() + 16, static_cast<std::int32_t>(defs.size()));
    WriteI32(image.data() + 20, static_cast<std::int32_t>(image.size()));
    return image;
}

void CreateDataSetFile(const std::string& path, const std::vector<FieldDef>& defs, FileSystem& files) {
    std::vector<unsigned char> image = EmptyDataSetImage(defs);  // refuses before creating
    std::unique_ptr<OpenFile> file;
    const FileResult created = files.Open(path, OpenMode::Replace, &file);
    if (!created.ok()) throw EzDatasetError("Cannot create file \"" + path + "\". " + created.Reason());
    if (!file->WriteAt(0, image.data(), image.size()).ok() || !file->Close().ok())
        throw EzDatasetError("Stream write error");
}

DataSetFile::~DataSetFile() {
    try {
        Close();
    } catch (...) {
        // The header rewrite is best effort when the owner is already being destroyed.
    }
}

void DataSetFile::Open(const std::string& path, bool mayFallBackToReadOnly) {
    Close();
    std::unique_ptr<OpenFile> file;
    FileResult opened = files_->Open(path, OpenMode::ReadWrite, &file);
    const bool writable = opened.ok();
    if (!opened.ok() && mayFallBackToReadOnly && (opened.error() == EACCES || opened.error() == EROFS))
        opened = files_->Open(path, OpenMode::Read, &file);
    if (!opened.ok()) throw EzDatasetError("Cannot open file \"" + path + "\". " + opened.Reason());
    FileInfo info;
    if (!file->Info(&info).ok() || !info.regular)
        throw EzDatasetError("Cannot open file \"" + path + "\". Not a regular file");
    // The header first, then the descriptors it announces (only as many as the file can
    // hold), then the records straight into memory.
    const std::int64_t fileSize = info.size;
    std::vector<unsigned char> head(static_cast<std::size_t>(std::min<std::int64_t>(fileSize, kHeaderSize)));
    bool readOk = ReadAt(*file, head.data(), head.size(), 0);
    if (readOk && head.size() == static_cast<std::size_t>(kHeaderSize)) {
        std::int64_t fieldCount = ReadI32(head.data() + 16);
        if (fieldCount > 0 && kHeaderSize + kDescriptorSize * fieldCount <= fileSize) {
            head.resize(static_cast<std::size_t>(kHeaderSize + kDescriptorSize * fieldCount));
            readOk = ReadAt(*file, head.data() + kHeaderSize, head.size() - kHeaderSize, kHeaderSize);
        }
    }
    try {
        if (!readOk) throw EzDatasetError("Stream read error");
        layout_ = ParseDataSetLayout(head.data(), head.size(), fileSize);
        records_.resize(static_cast<std::size_t>(fileSize - layout_.DataStart));
        if (!ReadAt(*file, records_.data(), records_.size(), layout_.DataStart))
            throw EzDatasetError("Stream read error");
    } catch (...) {
        records_.clear();
        throw;
    }
    std::memcpy(header_, head.data(), kHeaderSize);
    prefix_.assign(head.begin(), head.end());
    prefix_.resize(static_cast<std::size_t>(layout_.DataStart), 0);
    if (layout_.DataStart > static_cast<std::int64_t>(head.size()) &&
        !ReadAt(*file, prefix_.data() + head.size(), prefix_.size() - head.size(), static_cast<std::int64_t>(head.size()))) {
        records_.clear();
        throw EzDatasetError("Stream read error");
    }
    count_ = static_cast<std::int32_t>(layout_.RecordCount);
    path_ = path;
    writable_ = writable;
    file_ = std::move(file);
}

void DataSetFile::Close() {
    if (!file_) return;
    const std::unique_ptr<OpenFile> file = std::move(file_);
    bool rewriteFailed = false;
    if (writable_ && ReadI32(header_ + 8) == 0 && layout_.RecordSize != 0) {
        WriteI32(header_ + 8, layout_.RecordSize);
        rewriteFailed = !file->WriteAt(0, header_, kHeaderSize).ok();
    }
    if (!file->Close().ok()) rewriteFailed = rewriteFailed || writable_;
    records_.clear();
    records_.shrink_to_fit();
    count_ = 0;
    if (rewriteFailed) throw EzDatasetError("Stream write error");
}

void DataSetFile::WriteAt(OpenFile& file, std::int64_t offset, const unsigned char* bytes, std::size_t size) {
    if (!file.WriteAt(offset, bytes, size).ok()) throw EzDatasetError("Stream write error");
}

void DataSetFile::WriteRange(std::int32_t first, std::int32_t count) {
    if (bulk_) {
        bulkDirty_ = true;
        return;
    }
    if (count != 1) {
        ReplaceWhole();
        return;
    }
    const std::size_t rs = static_cast<std::size_t>(layout_.RecordSize);
    WriteAt(*file_, layout_.DataStart + static_cast<std::int64_t>(first) * rs, Record(first), rs);
}

void DataSetFile::EndBulk() {
    bulk_ = false;
    if (!bulkDirty_) return;
    bulkDirty_ = false;
    ReplaceWhole();
}

void DataSetFile::ReplaceWhole() {
    if (!writable_) throw EzDatasetError("Stream write error");
    std::unique_ptr<OpenFile> copy;
    std::string copyPath;
    const FileResult created = files_->CreateUnique(path_ + ".new-", &copy, &copyPath);
    if (!created.ok())
        throw EzDatasetError("Cannot create file \"" + path_ + ".new-XXXXXX\". " + created.Reason());
    FileInfo info;
    FileResult result = file_->Info(&info);
    if (result.ok()) result = copy->SetPermissions(info.permissions);
    if (result.ok()) result = copy->WriteAt(0, prefix_.data(), prefix_.size());
    if (result.ok()) result = copy->WriteAt(layout_.DataStart, records_.data(), records_.size());
    if (result.ok()) result = copy->Sync();
    if (result.ok()) result = files_->RenameOver(copyPath, path_);
    if (!result.ok()) {
        copy.reset();
        (void)files_->Remove(copyPath);  // litter only; the failure reported is the write's
        throw EzDatasetError("Cannot write file \"" + path_ + "\". " + result.Reason());
    }
    file_ = std::move(copy);
    // The rename is on the disk once the folder is; the file itself already is.
    (void)files_->SyncFolder(FolderOf(path_));
}

void DataSetFile::WriteRecord(std::int32_t index, const unsigned char* bytes) {
    const std::size_t rs = static_cast<std::size_t>(layout_.RecordSize);
    std::memmove(records_.data() + index * rs, bytes, rs);
    WriteRange(index, 1);
}

void DataSetFile::AppendRecord(const unsigned char* bytes) {
    const std::size_t rs = static_cast<std::size_t>(layout_.RecordSize);
    if (bulk_) bulkDirty_ = true;
    else WriteAt(*file_, layout_.DataStart + static_cast<std::int64_t>(count_) * rs, bytes, rs);
    records_.insert(records_.end(), bytes, bytes + rs);
    ++count_;
}

void DataSetFile::DeleteRecord(std::int32_t index) {
    const std::size_t rs = static_cast<std::size_t>(layout_.RecordSize);
    auto at = records_.begin() + static_cast<std::ptrdiff_t>(index * rs);
    records_.erase(at, at + static_cast<std::ptrdiff_t>(rs));
    --count_;
    // Moving the tail in place would leave a doubled record when interrupted.
    if (bulk_) bulkDirty_ = true;
    else ReplaceWhole();
}

void DataSetFile::MoveRecord(std::int32_t from, std::int32_t to) {
    const std::size_t rs = static_cast<std::size_t>(layout_.RecordSize);
    auto base = records_.begin();
    if (from < to)
        std::rotate(base + from * rs, base + (from + 1) * rs, base + (to + 1) * rs);
    else
        std::rotate(base + to * rs, base + from * rs, base + (from + 1) * rs);
    std::int32_t first = std::min(from, to);
    WriteRange(first, std::abs(to - from) + 1);
}

void DataSetFile::Reorder(const std::vector<std::int32_t>& order) {
    const std::size_t rs = static_cast<std::size_t>(layout_.RecordSize);
    // Records of no bytes (fields of width 0) have no order to keep; there is nothing to copy.
    if (rs == 0) return;
    std::vector<unsigned char> sorted(records_.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        std::memcpy(sorted.data() + i * rs, records_.data() + order[i] * rs, rs);
    records_.swap(sorted);
    if (count_ > 1) WriteRange(0, count_);
}

}  // namespace wt
