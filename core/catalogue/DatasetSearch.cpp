// Locate and FindFirstValue(s): searching the stored records for key values.
#include <cmath>

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

}  // namespace

bool TzDataset::RecordMatches(const unsigned char* record, const std::vector<TzField*>& fields,
                              const std::vector<TzValue>& values, const TLocateOptions& options) {
    for (std::size_t k = 0; k < fields.size(); ++k) {
        const TzField& field = *fields[k];
        const TzValue::Variant& key = values[k].Get();
        if (std::holds_alternative<std::monostate>(key)) {
            if (!field.IsNullIn(record)) return false;
            continue;
        }
        switch (field.DataType()) {
            case TFieldType::ftString: {
                std::string_view raw = field.RawTextIn(record);
                std::string decoded;
                if (!IsAscii(raw)) {
                    decoded = DecodeText(raw);
                    raw = decoded;
                }
                std::string wanted = KeyAsText(key);
                if (options.CaseInsensitive) {
                    wanted = AsciiLower(wanted);
                    decoded = AsciiLower(raw);
                    raw = decoded;
                }
                bool match = options.PartialKey ? raw.find(wanted) != std::string_view::npos : raw == wanted;
                if (!match) return false;
                break;
            }
            case TFieldType::ftSmallint:
            case TFieldType::ftInteger:
            case TFieldType::ftWord:
            case TFieldType::ftLargeint:
            case TFieldType::ftBoolean: {
                auto wanted = KeyAsInteger(key);
                std::int64_t stored = field.IntegerIn(record);
                if (field.DataType() == TFieldType::ftBoolean) {
                    if (!wanted || (*wanted != 0) != (stored != 0)) return false;
                } else if (!wanted || *wanted != stored) {
                    return false;
                }
                break;
            }
            case TFieldType::ftFloat:
            case TFieldType::ftCurrency: {
                auto wanted = KeyAsFloat(key);
                if (!wanted || *wanted != field.FloatIn(record)) return false;
                break;
            }
            case TFieldType::ftDate:
            case TFieldType::ftTime:
            case TFieldType::ftDateTime: {
                auto wanted = KeyAsDateTime(key);
                if (!wanted || std::fabs(*wanted - field.DateTimeIn(record)) > 0.5 / kMsPerDay) return false;
                break;
            }
            default: throw EzDatasetError("Unknown type");
        }
    }
    return true;
}

bool TzDataset::Locate(std::string_view keyFields, const std::vector<TzValue>& keyValues, TLocateOptions options) {
    CheckBrowseMode();
    std::vector<TzField*> fields = ParseFieldList(keyFields, false);
    if (fields.size() != keyValues.size())
        throw EzDatasetError("Wrong parameters count: " + std::to_string(fields.size()) + "-" +
                             std::to_string(keyValues.size()));
    // The filter does not apply: every stored record from the current one on is examined.
    for (std::int32_t i = hasCurrent_ ? index_ : 0; i < file_.RecordCount(); ++i) {
        if (RecordMatches(file_.Record(i), fields, keyValues, options)) {
            SetRecNo(i + 1);
            return true;
        }
    }
    return false;
}

bool TzDataset::FindFirstValues(const std::vector<TzField*>& fields, const std::vector<TzValue>& values,
                                TLocateOptions options) {
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

bool TzDataset::FindFirstValue(TzField& field, const TzValue& value, TLocateOptions options) {
    return FindFirstValues({&field}, {value}, options);
}

}  // namespace wt
