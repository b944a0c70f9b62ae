#include "catalogue/zDataset.h"

#include <cstring>
#include <filesystem>

#include "catalogue/DatasetFilter.h"
#include "platform/FileNames.h"
#include "platform/ProgramFolder.h"
#include "platform/StringList.h"

namespace wt {

TzDataset::TzDataset() : TzDataset(std::string()) {}

TzDataset::TzDataset(std::string name) : name_(std::move(name)), programFolder_(ExecutableFolder()) {}

TzDataset::~TzDataset() {
    try {
        Close();
    } catch (...) {
        // Destruction cannot report; the records were written when they were posted.
    }
}

void TzDataset::SetFileName(std::string name) { fileName_ = std::move(name); }

void TzDataset::SetProgramFolder(std::string folder) { programFolder_ = WithTrailingSlash(folder); }

std::string TzDataset::ResolvedFileName() const {
    if (fileName_.find('/') != std::string::npos) return fileName_;
    return JoinPath(programFolder_, fileName_);
}

void TzDataset::DatabaseError(const std::string& text) const {
    throw EDatabaseError(name_.empty() ? text : name_ + ": " + text);
}

void TzDataset::CheckActive() const {
    if (!Active()) DatabaseError(dbtext::kDataSetClosed);
}

void TzDataset::CheckWritable() const {
    if (readOnly_) throw EzDatasetError("Can't modify readonly dataset: " + fileName_);
}

// ---------------------------------------------------------------- fields

TzField& TzDataset::AddField(std::string fieldName, FieldType type, std::int32_t size) {
    if (Active()) DatabaseError(dbtext::kDataSetOpen);
    declared_.push_back(std::make_unique<TzField>(*this, std::move(fieldName), type, size));
    return *declared_.back();
}

TzField* TzDataset::FindField(std::string_view name) {
    const auto& list = Active() ? fields_ : std::vector<TzField*>();
    for (TzField* f : list)
        if (EqualsIgnoreCase(f->FieldName(), name)) return f;
    if (!Active())
        for (auto& f : declared_)
            if (EqualsIgnoreCase(f->FieldName(), name)) return f.get();
    return nullptr;
}

TzField& TzDataset::FieldByName(std::string_view name) {
    TzField* field = FindField(name);
    if (field == nullptr) DatabaseError("Field '" + std::string(name) + "' not found");
    return *field;
}

void TzDataset::BindFields() {
    const auto& descriptors = file_.Layout().Fields;
    if (declared_.empty()) {
        for (std::size_t i = 0; i < descriptors.size(); ++i) {
            const auto& d = descriptors[i];
            created_.push_back(std::make_unique<TzField>(*this, d.Name, static_cast<FieldType>(d.TypeCode), d.Size));
            created_.back()->Bind(static_cast<std::int32_t>(i), d.Offset, d.Width);
            fields_.push_back(created_.back().get());
        }
        return;
    }
    for (auto& field : declared_) {
        const FieldDescriptor* found = nullptr;
        for (const auto& d : descriptors)
            if (EqualsIgnoreCase(d.Name, field->FieldName())) { found = &d; break; }
        if (found == nullptr) DatabaseError("Field '" + field->FieldName() + "' not found");
        if (found->TypeCode != static_cast<std::uint8_t>(field->DataType()))
            DatabaseError("Type mismatch for field '" + field->FieldName() + "', expecting: " +
                          FieldTypeName(field->DataType()) +
                          " actual: " + FieldTypeName(static_cast<FieldType>(found->TypeCode)));
        field->Bind(static_cast<std::int32_t>(fields_.size()), found->Offset, found->Width);
        fields_.push_back(field.get());
    }
}

void TzDataset::UnbindFields() {
    for (auto& field : declared_) field->Unbind();
    fields_.clear();
    created_.clear();
}

std::vector<TzField*> TzDataset::ParseFieldList(std::string_view text, bool forIndex) {
    std::vector<TzField*> list;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(';', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view name = text.substr(start, end - start);
        while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
        while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
        if (!name.empty()) {
            TzField* field = FindField(name);
            if (field == nullptr) {
                if (forIndex) throw EzDatasetError("ERROR Index field name: " + std::string(name));
                DatabaseError("Field '" + std::string(name) + "' not found");
            }
            list.push_back(field);
        }
        start = end + 1;
    }
    return list;
}

// ---------------------------------------------------------------- open and close

void TzDataset::GenerateTemporaryName() {
    namespace fs = std::filesystem;
    std::error_code ec;
    std::string folder = WithTrailingSlash(fs::temp_directory_path(ec).string());
    if (ec) folder = "/tmp/";
    FileSystem& files = file_.Files();
    std::unique_ptr<OpenFile> placeholder;
    std::string created;
    const FileResult made = files.CreateUnique(folder + "Tmp", &placeholder, &created);
    if (!made.ok()) throw EzDatasetError("Cannot create file \"" + folder + "TmpXXXXXX\". " + made.Reason());
    placeholder.reset();
    (void)files.Remove(created);  // the unique name is what was wanted; the data file gets an extension
    std::string ext = tempFileExt_.empty() ? ".tmp" : tempFileExt_;
    if (ext.front() != '.') ext.insert(0, ".");
    fileName_ = created + ext;
}

void TzDataset::Open() {
    if (Active()) return;
    Fire(BeforeOpen);
    if (temporal_ && fileName_.empty()) GenerateTemporaryName();
    if (fileName_.empty()) throw EzDatasetError("File name not set.");
    const std::string path = ResolvedFileName();
    FileInfo existing;
    if (!file_.Files().Info(path, &existing).ok()) {
        std::vector<FieldDef> defs = FieldDefs;
        if (defs.empty())
            for (auto& f : declared_) defs.push_back({f->FieldName(), f->DataType(), f->Size(), 0});
        CreateDataSetFile(path, defs, file_.Files());
    }
    file_.Open(path, readOnly_);
    try {
        BindFields();
        state_ = DataSetState::dsBrowse;
        openedPath_ = path;
        try {
            indexFields_ = ParseFieldList(indexFieldsText_, true);
        } catch (const std::exception&) {
            // A list naming unknown fields is dropped: the data set opens unordered.
            indexFieldsText_.clear();
            indexFields_.clear();
        }
        ParseFilter();
    } catch (...) {
        state_ = DataSetState::dsInactive;
        UnbindFields();
        indexFields_.clear();
        file_.Close();
        throw;
    }
    filteredCount_ = -1;
    NoteChange(false, -1);
    First();
    Fire(AfterOpen);
}

void TzDataset::Close() {
    if (!Active()) return;
    Fire(BeforeClose);
    state_ = DataSetState::dsBrowse;  // pending changes are dropped
    pending_.clear();
    modified_ = false;
    bookmarks_.clear();
    indexFields_.clear();
    filter_.reset();
    UnbindFields();
    state_ = DataSetState::dsInactive;
    hasCurrent_ = false;
    eof_ = bof_ = true;
    std::exception_ptr failure;
    try {
        file_.Close();
    } catch (...) {
        failure = std::current_exception();
    }
    // A temporal data set's file goes with it; one already gone is no failure of the close.
    if (temporal_) (void)file_.Files().Remove(openedPath_);
    Fire(AfterClose);
    if (failure) std::rethrow_exception(failure);
}

// ---------------------------------------------------------------- cursor

const unsigned char* TzDataset::StoredRecord(std::int32_t index) const {
    if (!Active() || index < 0 || index >= file_.RecordCount()) return nullptr;
    return file_.Record(index);
}

const unsigned char* TzDataset::ActiveBuffer() const {
    switch (state_) {
        case DataSetState::dsEdit:
        case DataSetState::dsInsert: return pending_.data();
        case DataSetState::dsFilter: return candidate_;
        case DataSetState::dsBrowse: return hasCurrent_ ? StoredRecord(index_) : nullptr;
        default: return nullptr;
    }
}

unsigned char* TzDataset::PendingBuffer() {
    if (state_ != DataSetState::dsEdit && state_ != DataSetState::dsInsert) DatabaseError(dbtext::kNotEditing);
    return pending_.data();
}

bool TzDataset::RecordVisible(std::int32_t index) {
    if (!filtered_) return true;
    if (!OnFilterRecord && !filter_) return true;
    const DataSetState saved = state_;
    const unsigned char* savedCandidate = candidate_;
    state_ = DataSetState::dsFilter;
    candidate_ = file_.Record(index);
    bool accept = true;
    try {
        if (OnFilterRecord) OnFilterRecord(*this, accept);
        if (accept && filter_) accept = filter_->Evaluate(*this);
    } catch (...) {
        state_ = saved;
        candidate_ = savedCandidate;
        throw;
    }
    state_ = saved;
    candidate_ = savedCandidate;
    return accept;
}

std::int32_t TzDataset::NextVisible(std::int32_t from) {
    for (std::int32_t i = std::max(from, 0); i < file_.RecordCount(); ++i)
        if (RecordVisible(i)) return i;
    return -1;
}

std::int32_t TzDataset::PriorVisible(std::int32_t from) {
    for (std::int32_t i = std::min(from, file_.RecordCount() - 1); i >= 0; --i)
        if (RecordVisible(i)) return i;
    return -1;
}

void TzDataset::SetCurrent(std::int32_t index) {
    index_ = index;
    hasCurrent_ = true;
    eof_ = bof_ = false;
}

void TzDataset::SetNoCurrent() {
    hasCurrent_ = false;
    index_ = -1;
    eof_ = bof_ = true;
}

void TzDataset::CheckBrowseMode() {
    CheckActive();
    if (state_ == DataSetState::dsEdit || state_ == DataSetState::dsInsert) {
        if (modified_) Post();
        else Cancel();
    }
}

void TzDataset::First() {
    CheckBrowseMode();
    Fire(BeforeScroll);
    std::int32_t i = NextVisible(0);
    if (i < 0) {
        SetNoCurrent();
    } else {
        SetCurrent(i);
        bof_ = true;
    }
    Fire(AfterScroll);
}

void TzDataset::Last() {
    CheckBrowseMode();
    Fire(BeforeScroll);
    std::int32_t i = PriorVisible(file_.RecordCount() - 1);
    if (i < 0) {
        SetNoCurrent();
    } else {
        SetCurrent(i);
        eof_ = true;
    }
    Fire(AfterScroll);
}

void TzDataset::Next() {
    CheckBrowseMode();
    if (eof_) return;
    Fire(BeforeScroll);
    bof_ = false;
    std::int32_t i = hasCurrent_ ? NextVisible(index_ + 1) : -1;
    if (i < 0) eof_ = true;  // the last record stays current
    else SetCurrent(i);
    Fire(AfterScroll);
}

void TzDataset::Prior() {
    CheckBrowseMode();
    if (bof_) return;
    Fire(BeforeScroll);
    eof_ = false;
    std::int32_t i = hasCurrent_ ? PriorVisible(index_ - 1) : -1;
    if (i < 0) bof_ = true;
    else SetCurrent(i);
    Fire(AfterScroll);
}

bool TzDataset::IsEmpty() const {
    return state_ != DataSetState::dsInsert && !hasCurrent_;
}

std::int32_t TzDataset::RecordCount() {
    CheckActive();
    if (!filtered_) return file_.RecordCount();
    if (filteredCount_ < 0) {
        std::int32_t count = 0;
        for (std::int32_t i = 0; i < file_.RecordCount(); ++i)
            if (RecordVisible(i)) ++count;
        filteredCount_ = count;
    }
    return filteredCount_;
}

std::int32_t TzDataset::RecNo() const {
    if (!Active() || file_.RecordCount() == 0) return 0;
    return hasCurrent_ ? index_ + 1 : 1;
}

void TzDataset::SetRecNo(std::int32_t recNo) {
    // Errors while moving are swallowed: an impossible position simply leaves the cursor.
    try {
        if (!Active() || IsEmpty() || recNo < 1 || recNo > file_.RecordCount()) return;
        if (!RecordVisible(recNo - 1)) return;
        CheckBrowseMode();
        Fire(BeforeScroll);
        SetCurrent(recNo - 1);
        Fire(AfterScroll);
    } catch (...) {
    }
}

// ---------------------------------------------------------------- changes

void TzDataset::RunWithErrorEvent(const DataSetErrorEvent& event, const std::function<void()>& operation) {
    for (;;) {
        try {
            operation();
            return;
        } catch (const std::exception& error) {
            if (!event) throw;
            DataAction action = DataAction::daFail;
            event(*this, error, action);
            if (action == DataAction::daFail) throw;
            if (action == DataAction::daAbort) return;
        }
    }
}

void TzDataset::BeginInsert(bool beforeCurrent) {
    CheckBrowseMode();
    CheckWritable();
    Fire(BeforeInsert);
    pending_.assign(static_cast<std::size_t>(file_.RecordSize()), 0);
    insertPosition_ = beforeCurrent && hasCurrent_ ? index_ + 1 : 0;
    modified_ = false;
    state_ = DataSetState::dsInsert;
    eof_ = bof_ = false;
    Fire(OnNewRecord);
    Fire(AfterInsert);
}

void TzDataset::Insert() { BeginInsert(true); }

void TzDataset::Append() { BeginInsert(false); }

void TzDataset::AddRecord() {
    if (!indexFields_.empty()) Insert();
    else Append();
}

void TzDataset::Edit() {
    CheckActive();
    if (state_ == DataSetState::dsEdit || state_ == DataSetState::dsInsert) return;
    CheckWritable();
    if (!hasCurrent_) return Insert();  // editing an empty data set starts a new record
    RunWithErrorEvent(OnEditError, [this] {
        Fire(BeforeEdit);
        const unsigned char* record = file_.Record(index_);
        pending_.assign(record, record + file_.RecordSize());
        editIndex_ = index_;
        modified_ = false;
        state_ = DataSetState::dsEdit;
        Fire(AfterEdit);
    });
}

void TzDataset::Post() {
    CheckActive();
    if (state_ != DataSetState::dsEdit && state_ != DataSetState::dsInsert) DatabaseError(dbtext::kNotEditing);
    RunWithErrorEvent(OnPostError, [this] {
        Fire(BeforePost);
        CheckWritable();
        std::int32_t position = 0;
        const bool isNew = state_ == DataSetState::dsInsert;
        if (isNew) {
            position = indexFields_.empty() ? insertPosition_ : file_.RecordCount() + 1;
            file_.AppendRecord(pending_.data());
            index_ = file_.RecordCount() - 1;
        } else {
            file_.WriteRecord(editIndex_, pending_.data());
            index_ = editIndex_;
            position = indexFields_.empty() ? 0 : editIndex_ + 1;
        }
        state_ = DataSetState::dsBrowse;
        pending_.clear();
        modified_ = false;
        SetCurrent(index_);
        if (!indexFields_.empty()) PlaceRecord(position);
        else if (position > 0) MoveRecord(file_.RecordCount(), position);
        filteredCount_ = -1;
        NoteChange(isNew, index_);
        Fire(AfterPost);
    });
}

void TzDataset::Cancel() {
    CheckActive();
    if (state_ != DataSetState::dsEdit && state_ != DataSetState::dsInsert) return;
    Fire(BeforeCancel);
    state_ = DataSetState::dsBrowse;
    pending_.clear();
    modified_ = false;
    if (hasCurrent_) SetCurrent(index_);
    else SetNoCurrent();
    Fire(AfterCancel);
}

void TzDataset::Delete() {
    CheckActive();
    if (state_ == DataSetState::dsInsert) return Cancel();
    if (IsEmpty()) DatabaseError(dbtext::kDataSetEmpty);
    CheckBrowseMode();
    CheckWritable();
    RunWithErrorEvent(OnDeleteError, [this] {
        Fire(BeforeDelete);
        Fire(BeforeScroll);
        const std::int32_t deleted = index_;
        file_.DeleteRecord(deleted);
        DropBookmark(deleted);
        if (filteredCount_ > 0) --filteredCount_;
        NoteChange(false, -1);
        std::int32_t next = NextVisible(deleted);
        if (next < 0) next = PriorVisible(deleted - 1);
        if (next < 0) SetNoCurrent();
        else SetCurrent(next);
        Fire(AfterDelete);
        Fire(AfterScroll);
    });
}

// ---------------------------------------------------------------- filter properties

void TzDataset::ParseFilter() {
    filter_.reset();
    if (!filterText_.empty()) filter_ = FilterExpression::Parse(filterText_, *this);
}

void TzDataset::SetFilter(std::string_view text) {
    std::string lowered = AsciiLower(text);
    std::size_t b = lowered.find_first_not_of(" \t\r\n");
    std::size_t e = lowered.find_last_not_of(" \t\r\n");
    lowered = b == std::string::npos ? std::string() : lowered.substr(b, e - b + 1);
    if (!Active()) {
        filterText_ = lowered;
        return;
    }
    std::unique_ptr<FilterExpression> parsed;
    if (!lowered.empty()) parsed = FilterExpression::Parse(lowered, *this);
    filterText_ = lowered;
    filter_ = std::move(parsed);
    filteredCount_ = -1;
    if (filtered_) First();
    Fire(OnFilterChange);
}

void TzDataset::SetFiltered(bool value) {
    if (filtered_ == value) return;
    filtered_ = value;
    if (!Active()) return;
    filteredCount_ = -1;
    First();
    Fire(OnFilterChange);
}

}  // namespace wt
