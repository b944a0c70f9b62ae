#pragma once
// TzDataset: one binary data set file presented as a cursor-based data set. The caller opens
// it, moves the cursor, reads and writes the current record through TzField objects, and
// inserts, edits, posts and deletes records. With IndexFields set the file is kept in that
// order. Every post and delete reaches the file at once; the records are also held in memory
// so that moves and searches read nothing from the disk.
//
// Used on one thread only; no locks.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "catalogue/DataSetFile.h"
#include "catalogue/DatasetError.h"
#include "catalogue/FieldTypes.h"
#include "catalogue/TzField.h"

namespace wt {

class FilterExpression;
class TzDataset;

enum class DataSetState { dsInactive, dsBrowse, dsEdit, dsInsert, dsFilter };
// What an OnPostError/OnEditError/OnDeleteError handler asks for: raise the error, drop it
// silently, or try the operation again.
enum class DataAction { daFail, daAbort, daRetry };

using DataSetNotifyEvent = std::function<void(TzDataset&)>;
using FilterRecordEvent = std::function<void(TzDataset&, bool& accept)>;
using DataSetErrorEvent = std::function<void(TzDataset&, const std::exception&, DataAction&)>;
// Decides the order of two values of a field compared as text.
using TOnCompareRecordsEvent =
    std::function<void(TzField& sortField, const std::string& val1, const std::string& val2, int& result)>;

struct LocateOptions {
    bool CaseInsensitive = false;  // texts compared upper-cased
    bool PartialKey = false;       // a text matches when the key occurs anywhere in it
};

// A search key: unassigned, an integer, a boolean, a floating-point number or a text.
class TzValue {
public:
    TzValue() = default;
    TzValue(int v) : value_(static_cast<std::int64_t>(v)) {}
    TzValue(std::int64_t v) : value_(v) {}
    TzValue(bool v) : value_(v) {}
    TzValue(double v) : value_(v) {}
    TzValue(const char* v) : value_(std::string(v)) {}
    TzValue(std::string v) : value_(std::move(v)) {}
    TzValue(std::string_view v) : value_(std::string(v)) {}
    using Variant = std::variant<std::monostate, std::int64_t, bool, double, std::string>;
    const Variant& Get() const { return value_; }

private:
    Variant value_;
};

// A remembered record: its index, kept up to date while records move.
using BookmarkHandle = const std::int32_t*;

class TzDataset {
public:
    TzDataset();
    explicit TzDataset(std::string name);
    ~TzDataset();
    TzDataset(const TzDataset&) = delete;
    TzDataset& operator=(const TzDataset&) = delete;

    // ---- properties
    // The component name, put in front of framework refusals ("zDataset1: ...").
    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }
    const std::string& FileName() const { return fileName_; }
    void SetFileName(std::string name);
    // Folder a FileName without '/' is taken relative to; the executable's folder by default.
    const std::string& ProgramFolder() const { return programFolder_; }
    void SetProgramFolder(std::string folder);
    // The file name as opened: FileName itself when it holds a '/', else beside the program.
    std::string ResolvedFileName() const;
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value) { readOnly_ = value; }
    // The files the data set reads and writes (the real ones unless set); only while closed.
    // `files` must outlive the data set.
    void SetFileSystem(FileSystem& files) { file_.SetFileSystem(files); }
    bool Filtered() const { return filtered_; }
    void SetFiltered(bool value);
    const std::string& Filter() const { return filterText_; }
    void SetFilter(std::string_view text);
    const std::string& IndexFields() const { return indexFieldsText_; }
    void SetIndexFields(std::string_view text);
    bool IndexCaseSensitive() const { return indexCaseSensitive_; }
    void SetIndexCaseSensitive(bool value);
    bool ShowZero() const { return showZero_; }
    void SetShowZero(bool value) { showZero_ = value; }
    const std::string& TempFileExt() const { return tempFileExt_; }
    void SetTempFileExt(std::string ext) { tempFileExt_ = std::move(ext); }
    bool Temporal() const { return temporal_; }
    void SetTemporal(bool value) { temporal_ = value; }
    bool Active() const { return state_ != DataSetState::dsInactive; }
    void SetActive(bool value) { value ? Open() : Close(); }
    DataSetState State() const { return state_; }
    // Field definitions used to create a missing file; when empty the declared fields are.
    std::vector<FieldDef> FieldDefs;

    // ---- fields
    // Declares a persistent field, bound to the file's descriptor of that name on Open.
    TzField& AddField(std::string fieldName, FieldType type, std::int32_t size = 0);
    TzField& FieldByName(std::string_view name);
    TzField* FindField(std::string_view name);
    std::int32_t FieldCount() const { return static_cast<std::int32_t>(fields_.size()); }
    TzField& Fields(std::int32_t index) { return *fields_.at(static_cast<std::size_t>(index)); }

    // ---- open, close, cursor
    void Open();
    void Close();
    void First();
    void Last();
    void Next();
    void Prior();
    bool Eof() const { return eof_; }
    bool Bof() const { return bof_; }
    bool IsEmpty() const;
    std::int32_t RecordCount();
    std::int32_t RecNo() const;
    void SetRecNo(std::int32_t recNo);
    // Records in the file, whatever the filter.
    std::int32_t StoredRecordCount() const { return file_.RecordCount(); }

    // ---- changes
    void Insert();
    void Append();
    void AddRecord();
    void Edit();
    void Post();
    void Cancel();
    void Delete();
    // Many changes as one: until the end they stay in memory, then the whole file is replaced
    // at once (see DataSetFile). Use TzBulkChange rather than the pair.
    void BeginBulkChange() { file_.BeginBulk(); }
    void EndBulkChange() { file_.EndBulk(); }
    void MoveRecord(std::int32_t from, std::int32_t to);
    bool Modified() const { return modified_; }

    // ---- searching
    bool Locate(std::string_view keyFields, const std::vector<TzValue>& keyValues, LocateOptions options = {});
    bool FindFirstValue(TzField& field, const TzValue& value, LocateOptions options = {});
    bool FindFirstValues(const std::vector<TzField*>& fields, const std::vector<TzValue>& values,
                         LocateOptions options = {});

    // ---- bookmarks
    BookmarkHandle GetBookmark();
    void GotoBookmark(BookmarkHandle bookmark);
    void FreeBookmark(BookmarkHandle bookmark);

    // Counts changes to the stored records (posts, deletes, moves, sorts, opens). With
    // LastChangeWasNewRecord the latest change was the post of a new record, now at
    // LastPostedIndex; callers use it to keep derived figures without walking again.
    std::uint64_t ChangeCount() const { return changeCount_; }
    bool LastChangeWasNewRecord() const { return lastChangeNewRecord_; }
    std::int32_t LastPostedIndex() const { return lastPostedIndex_; }
    // The stored bytes of record index (0-based), for fast scans; nullptr outside the records.
    const unsigned char* StoredRecord(std::int32_t index) const;

    // ---- events
    DataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose, BeforeInsert, AfterInsert,
        BeforeEdit, AfterEdit, BeforePost, AfterPost, BeforeCancel, AfterCancel, BeforeDelete,
        AfterDelete, BeforeScroll, AfterScroll, OnCalcFields, OnNewRecord;
    DataSetErrorEvent OnDeleteError, OnEditError, OnPostError;
    FilterRecordEvent OnFilterRecord;
    DataSetNotifyEvent OnFilterChange;
    // Declared for completeness; the engine never raises it.
    DataSetNotifyEvent OnStoredValueChange;
    TOnCompareRecordsEvent OnCompareRecords;

private:
    friend class TzField;
    friend class FilterExpression;

    // The bytes fields read: the pending record while editing or inserting, the candidate
    // while filtering, else the current record (nullptr when there is none).
    const unsigned char* ActiveBuffer() const;
    unsigned char* PendingBuffer();
    void FieldChanged() { modified_ = true; }
    [[noreturn]] void DatabaseError(const std::string& text) const;
    void CheckActive() const;
    void CheckWritable() const;
    void CheckBrowseMode();
    void BeginInsert(bool beforeCurrent);
    void Fire(const DataSetNotifyEvent& event) { if (event) event(*this); }
    void GenerateTemporaryName();
    void BindFields();
    void UnbindFields();
    std::vector<TzField*> ParseFieldList(std::string_view text, bool forIndex);
    void ParseFilter();

    // Cursor helpers (filter-aware).
    bool RecordVisible(std::int32_t index);
    std::int32_t NextVisible(std::int32_t from);
    std::int32_t PriorVisible(std::int32_t from);
    void SetCurrent(std::int32_t index);
    void SetNoCurrent();
    void RunWithErrorEvent(const DataSetErrorEvent& event, const std::function<void()>& operation);

    // Ordering (DatasetOrder.cpp).
    int CompareRecords(const unsigned char* a, const unsigned char* b);
    void PlaceRecord(std::int32_t position);
    void SortRecords();
    void MoveBookmarks(std::int32_t from, std::int32_t to);
    void DropBookmark(std::int32_t deleted);
    void NoteChange(bool newRecord, std::int32_t index);

    std::string name_;
    std::string fileName_;
    std::string programFolder_;
    std::string openedPath_;
    bool readOnly_ = false;
    bool filtered_ = false;
    std::string filterText_;
    std::string indexFieldsText_;
    bool indexCaseSensitive_ = false;
    bool showZero_ = false;
    std::string tempFileExt_;
    bool temporal_ = false;

    DataSetFile file_;
    DataSetState state_ = DataSetState::dsInactive;
    std::vector<std::unique_ptr<TzField>> declared_;
    std::vector<std::unique_ptr<TzField>> created_;
    std::vector<TzField*> fields_;
    std::vector<TzField*> indexFields_;
    std::unique_ptr<FilterExpression> filter_;

    std::int32_t index_ = -1;  // current record; meaningful while hasCurrent_
    bool hasCurrent_ = false;
    bool eof_ = true;
    bool bof_ = true;
    std::vector<unsigned char> pending_;
    std::int32_t editIndex_ = -1;
    std::int32_t insertPosition_ = 0;  // 1-based record current at Insert, 0 for Append
    bool modified_ = false;
    const unsigned char* candidate_ = nullptr;
    std::int32_t filteredCount_ = -1;  // unknown when negative

    struct Bookmark {
        std::unique_ptr<std::int32_t> index;
        bool tracked = true;
    };
    std::vector<Bookmark> bookmarks_;

    std::uint64_t changeCount_ = 0;
    bool lastChangeNewRecord_ = false;
    std::int32_t lastPostedIndex_ = -1;
};

// Scope of a bulk change: Finish() puts the file in place and reports a failure; leaving the
// scope otherwise (an error on the way) still writes what was changed, so memory and file agree.
class TzBulkChange {
public:
    explicit TzBulkChange(TzDataset& dataset) : dataset_(dataset) { dataset_.BeginBulkChange(); }
    ~TzBulkChange() {
        if (open_) {
            try {
                dataset_.EndBulkChange();
            } catch (...) {
                // already leaving on an error of its own
            }
        }
    }
    TzBulkChange(const TzBulkChange&) = delete;
    TzBulkChange& operator=(const TzBulkChange&) = delete;
    void Finish() {
        open_ = false;
        dataset_.EndBulkChange();
    }

private:
    TzDataset& dataset_;
    bool open_ = true;
};

}  // namespace wt
