// Keeping the file in IndexFields order: the record comparison, the placing of a posted
// record, MoveRecord, sorting, and the bookmarks that follow their records.
#include <algorithm>
#include <numeric>

#include "catalogue/zDataset.h"

namespace wt {

namespace {

// Upper-cases a to z only, then compares bytes.
int CompareFoldedBytes(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        auto fold = [](char c) {
            auto u = static_cast<unsigned char>(c);
            return static_cast<unsigned char>(u >= 'a' && u <= 'z' ? u - 32 : u);
        };
        unsigned char x = fold(a[i]), y = fold(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int CompareBytes(const std::string& a, const std::string& b) {
    int r = a.compare(b);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

template <typename T>
int Sign(T a, T b) {
    return a < b ? -1 : (a > b ? 1 : 0);
}

}  // namespace

int TzDataset::CompareRecords(const unsigned char* a, const unsigned char* b) {
    for (TzField* field : indexFields_) {
        int r = 0;
        switch (field->DataType()) {
            case FieldType::ftSmallint:
            case FieldType::ftInteger:
            case FieldType::ftWord: r = Sign(field->IntegerIn(a), field->IntegerIn(b)); break;
            case FieldType::ftFloat:
            case FieldType::ftCurrency: r = Sign(field->FloatIn(a), field->FloatIn(b)); break;
            case FieldType::ftDate:
            case FieldType::ftTime:
            case FieldType::ftDateTime: r = Sign(field->DateTimeIn(a), field->DateTimeIn(b)); break;
            default: {
                const std::string x = field->StringIn(a), y = field->StringIn(b);
                if (OnCompareRecords) {
                    OnCompareRecords(*field, x, y, r);
                } else if (indexCaseSensitive_) {
                    r = CompareBytes(x, y);
                } else {
                    // Equal when folded: the unchanged texts decide, so different texts
                    // never count as equal.
                    r = CompareFoldedBytes(x, y);
                    if (r == 0) r = CompareBytes(x, y);
                }
            }
        }
        if (r != 0) return r;
    }
    return 0;
}

void TzDataset::PlaceRecord(std::int32_t a) {
    const std::int32_t count = file_.RecordCount();
    if (a < 1 || a > count) return;
    auto rec = [this](std::int32_t position) { return file_.Record(position - 1); };
    bool forward;
    if (a >= count) forward = false;
    else if (a <= 1) forward = true;
    else {
        int r = CompareRecords(rec(a), rec(a + 1));
        if (r == 0) return;
        forward = r > 0;
    }
    std::int32_t target;
    if (forward) {
        std::int32_t b = a + 1;
        while (b <= count && CompareRecords(rec(a), rec(b)) > 0) ++b;
        target = b - 1;
    } else {
        std::int32_t i = a - 1;
        while (i >= 1 && CompareRecords(rec(i), rec(a)) > 0) --i;
        target = i + 1;
    }
    MoveRecord(a, target);
}

void TzDataset::MoveRecord(std::int32_t from, std::int32_t to) {
    CheckActive();
    CheckWritable();
    const std::int32_t count = file_.RecordCount();
    if (count <= 1 || from == to || from < 1 || to < 1 || from > count || to > count) return;
    file_.MoveRecord(from - 1, to - 1);
    MoveBookmarks(from - 1, to - 1);
    SetCurrent(to - 1);
    NoteChange(false, -1);
}

void TzDataset::SortRecords() {
    CheckActive();
    if (readOnly_) throw EzDatasetError("Dataset must be opened for read/write to perform sort.");
    CheckBrowseMode();
    const std::int32_t count = file_.RecordCount();
    std::vector<std::int32_t> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [this](std::int32_t x, std::int32_t y) {
        return CompareRecords(file_.Record(x), file_.Record(y)) < 0;
    });
    file_.Reorder(order);
    std::vector<std::int32_t> newPlace(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) newPlace[static_cast<std::size_t>(order[i])] = static_cast<std::int32_t>(i);
    for (auto& b : bookmarks_)
        if (b.tracked && *b.index >= 0 && *b.index < count) *b.index = newPlace[static_cast<std::size_t>(*b.index)];
    NoteChange(false, -1);
    filteredCount_ = -1;
    First();
}

void TzDataset::SetIndexFields(std::string_view text) {
    if (!Active()) {
        indexFieldsText_ = std::string(text);
        return;
    }
    std::vector<TzField*> parsed = ParseFieldList(text, true);
    const bool changed = text != indexFieldsText_;
    if (changed && !text.empty() && readOnly_)
        throw EzDatasetError("Dataset must be opened for read/write to perform sort.");
    indexFieldsText_ = std::string(text);
    indexFields_ = std::move(parsed);
    if (changed && !text.empty()) SortRecords();
}

void TzDataset::SetIndexCaseSensitive(bool value) {
    if (indexCaseSensitive_ == value) return;
    if (Active() && !indexFields_.empty() && readOnly_)
        throw EzDatasetError("Dataset must be opened for read/write to perform sort.");
    indexCaseSensitive_ = value;
    if (Active() && !indexFields_.empty()) SortRecords();
}

void TzDataset::NoteChange(bool newRecord, std::int32_t index) {
    ++changeCount_;
    lastChangeNewRecord_ = newRecord;
    lastPostedIndex_ = index;
}

// ---------------------------------------------------------------- bookmarks

BookmarkHandle TzDataset::GetBookmark() {
    CheckActive();
    bookmarks_.push_back({std::make_unique<std::int32_t>(hasCurrent_ ? index_ : -1), true});
    return bookmarks_.back().index.get();
}

void TzDataset::GotoBookmark(BookmarkHandle bookmark) {
    CheckActive();
    std::int32_t index = bookmark != nullptr ? *bookmark : -1;
    if (index < 0 || index >= file_.RecordCount())
        throw EzDatasetError("Bookmark " + std::to_string(index) + " not found");
    CheckBrowseMode();
    Fire(BeforeScroll);
    SetCurrent(index);
    Fire(AfterScroll);
}

void TzDataset::FreeBookmark(BookmarkHandle bookmark) {
    auto it = std::find_if(bookmarks_.begin(), bookmarks_.end(),
                           [bookmark](const Bookmark& b) { return b.index.get() == bookmark; });
    if (it != bookmarks_.end()) bookmarks_.erase(it);
}

void TzDataset::MoveBookmarks(std::int32_t from, std::int32_t to) {
    for (auto& b : bookmarks_) {
        if (!b.tracked) continue;
        std::int32_t& i = *b.index;
        if (i == from) i = to;
        else if (from < to && i > from && i <= to) --i;
        else if (to < from && i >= to && i < from) ++i;
    }
}

void TzDataset::DropBookmark(std::int32_t deleted) {
    for (auto& b : bookmarks_) {
        if (!b.tracked) continue;
        std::int32_t& i = *b.index;
        if (i == deleted) {
            // The record is gone: the bookmark no longer names any record.
            b.tracked = false;
            i = -1;
        } else if (i > deleted) {
            --i;
        }
    }
}

}  // namespace wt
