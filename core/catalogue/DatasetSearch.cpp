// Locate and FindFirstValue(s): searching the stored records for key values.
#include <cmath>
#include <optional>

#include "catalogue/FieldText.h"
#include "catalogue/zDataset.h"
#include "platform/StringList.h"
#include "platform/TextEncoding.h"

namespace wt {

namespace {

bool IsAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

std::optional<std::int64_t> KeyAsInteger(const TzValue::Variant& key) {
    if (auto v = std::get_if<std::int64_t>(&key)) return *v;
    if (auto v = std::get_if<bool>(&key)) return *v ? 1 : 0;
    if (auto v = std::get_if<double>(&key)) {
        if (std::isfinite(*v) && std::floor(*v) == *v && std::fabs(*v) < 9e18) return static_cast<std::int64_t>(*v);
        return std::nullopt;
    }
    if (auto v = std::get_if<std::string>(&key)) return ParseInteger(*v);
    return std::nullopt;
}

std::optional<double> KeyAsFloat(const TzValue::Variant& key) {
    if (auto v = std::get_if<double>(&key)) return *v;
    if (auto v = std::get_if<std::int64_t>(&key)) return static_cast<double>(*v);
    if (auto v = std::get_if<bool>(&key)) return *v ? 1.0 : 0.0;
    if (auto v = std::get_if<std::string>(&key)) return ParseFloat(*v);
    return std::nullopt;
}

std::optional<double> KeyAsDateTime(const TzValue::Variant& key) {
    if (auto v = std::get_if<std::string>(&key)) return ParseDateTime(*v);
    return KeyAsFloat(key);
}

std::string KeyAsText(const TzValue::Variant& key) {
    if (auto v = std::get_if<std::string>(&key)) return *v;
    if (auto v = std::get_if<std::int64_t>(&key)) return std::to_string(*v);
    if (auto v = std::get_if<bool>(&key)) return *v ? "True" : "False";
    if (auto v = std::get_if<double>(&key)) return FormatFloat(*v);
    return {};
}

// A key made ready once for the whole search.
struct PreparedKey {
    const TzField* field = nullptr;
    bool unassigned = false;
    std::string text;  // text keys, folded for case-insensitive searches
    std::optional<std::int64_t> integer;
    std::optional<double> number;
};

std::vector<PreparedKey> Prepare(const std::vector<TzField*>& fields, const std::vector<TzValue>& values,
                                 const LocateOptions& options) {
    std::vector<PreparedKey> keys;
    for (std::size_t k = 0; k < fields.size(); ++k) {
        const TzValue::Variant& key = values[k].Get();
        PreparedKey p;
        p.field = fields[k];
        p.unassigned = std::holds_alternative<std::monostate>(key);
        switch (fields[k]->DataType()) {
            case FieldType::ftString:
                p.text = options.CaseInsensitive ? AsciiLower(KeyAsText(key)) : KeyAsText(key);
                break;
            case FieldType::ftSmallint:
            case FieldType::ftInteger:
            case FieldType::ftWord:
            case FieldType::ftLargeint:
            case FieldType::ftBoolean: p.integer = KeyAsInteger(key); break;
            case FieldType::ftFloat:
            case FieldType::ftCurrency: p.number = KeyAsFloat(key); break;
            case FieldType::ftDate:
            case FieldType::ftTime:
            case FieldType::ftDateTime: p.number = KeyAsDateTime(key); break;
            default: throw EzDatasetError("Unknown type");
        }
        keys.push_back(std::move(p));
    }
    return keys;
}

bool TextMatches(const PreparedKey& key, const unsigned char* record, const LocateOptions& options) {
    std::string_view raw = key.field->RawTextIn(record);
    std::string converted;
    if (!IsAscii(raw)) {
        converted = DecodeText(raw);
        raw = converted;
    }
    if (options.CaseInsensitive) {
        converted = AsciiLower(raw);
        raw = converted;
    }
    return options.PartialKey ? raw.find(key.text) != std::string_view::npos : raw == key.text;
}

bool RecordMatches(const unsigned char* record, const std::vector<PreparedKey>& keys, const LocateOptions& options) {
    for (const PreparedKey& key : keys) {
        const TzField& field = *key.field;
        if (key.unassigned) {
            if (!field.IsNullIn(record)) return false;
            continue;
        }
        switch (field.DataType()) {
            case FieldType::ftString:
                if (!TextMatches(key, record, options)) return false;
                break;
            case FieldType::ftBoolean:
                if (!key.integer || (*key.integer != 0) != (field.IntegerIn(record) != 0)) return false;
                break;
            case FieldType::ftSmallint:
            case FieldType::ftInteger:
            case FieldType::ftWord:
            case FieldType::ftLargeint:
                if (!key.integer || *key.integer != field.IntegerIn(record)) return false;
                break;
            case FieldType::ftFloat:
            case FieldType::ftCurrency:
                if (!key.number || *key.number != field.FloatIn(record)) return false;
                break;
            default:  // dates and times: equal to the millisecond
                if (!key.number || std::fabs(*key.number - field.DateTimeIn(record)) > 0.5 / kMsPerDay) return false;
        }
    }
    return true;
}

}  // namespace

bool TzDataset::Locate(std::string_view keyFields, const std::vector<TzValue>& keyValues, LocateOptions options) {
    CheckBrowseMode();
    std::vector<TzField*> fields = ParseFieldList(keyFields, false);
    if (fields.size() != keyValues.size())
        throw EzDatasetError("Wrong parameters count: " + std::to_string(fields.size()) + "-" +
                             std::to_string(keyValues.size()));
    // The filter does not apply: every stored record from the current one on is examined.
    const std::vector<PreparedKey> keys = Prepare(fields, keyValues, options);
    for (std::int32_t i = hasCurrent_ ? index_ : 0; i < file_.RecordCount(); ++i) {
        if (RecordMatches(file_.Record(i), keys, options)) {
            SetRecNo(i + 1);
            return true;
        }
    }
    return false;
}

bool TzDataset::FindFirstValues(const std::vector<TzField*>& fields, const std::vector<TzValue>& values,
                                LocateOptions options) {
    if (fields.size() != values.size())
        throw EzDatasetError("Wrong parameters count: " + std::to_string(fields.size()) + "-" +
                             std::to_string(values.size()));
    CheckBrowseMode();
    std::string keyFields;
    for (const TzField* field : fields) {
        if (!keyFields.empty()) keyFields += ';';
        keyFields += field->FieldName();
    }
    const std::int32_t savedIndex = index_;
    const bool savedHasCurrent = hasCurrent_, savedEof = eof_, savedBof = bof_;
    First();
    if (Locate(keyFields, values, options)) return true;
    index_ = savedIndex;
    hasCurrent_ = savedHasCurrent;
    eof_ = savedEof;
    bof_ = savedBof;
    return false;
}

bool TzDataset::FindFirstValue(TzField& field, const TzValue& value, LocateOptions options) {
    return FindFirstValues({&field}, {value}, options);
}

}  // namespace wt
