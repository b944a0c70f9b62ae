#include "catalogue/TzField.h"

#include <cmath>
#include <cstring>

#include "catalogue/FieldText.h"
#include "catalogue/zDataset.h"
#include "platform/TextEncoding.h"

namespace wt {

namespace {

template <typename T>
T Load(const unsigned char* p) {
    T value;
    std::memcpy(&value, p, sizeof value);  // the file is little-endian, like the host
    return value;
}

template <typename T>
void Store(unsigned char* p, T value) {
    std::memcpy(p, &value, sizeof value);
}

// Bytes of a number field's value; 0 for text and for unknown types.
std::size_t TypeBytes(FieldType type) {
    if (type == FieldType::ftString) return 0;
    return static_cast<std::size_t>(FieldWidth(type, 0).value_or(0));
}

}  // namespace

TzField::TzField(TzDataset& dataset, std::string fieldName, FieldType type, std::int32_t size)
    : dataset_(dataset), fieldName_(std::move(fieldName)), type_(type),
      size_(type == FieldType::ftString ? std::max(size, 0) : 0) {}

void TzField::Bind(std::int32_t index, std::int32_t offset, std::int32_t width) {
    index_ = index;
    offset_ = offset;
    width_ = width;
}

void TzField::Unbind() {
    index_ = -1;
    offset_ = 0;
    width_ = 0;
}

std::int32_t TzField::DataSize() const {
    std::int64_t wanted = type_ == FieldType::ftString ? std::int64_t{size_} + 1
                                                        : static_cast<std::int64_t>(TypeBytes(type_));
    return static_cast<std::int32_t>(std::min<std::int64_t>(wanted, width_));
}

bool TzField::ZeroIn(const unsigned char* record) const {
    if (DataSize() < static_cast<std::int32_t>(TypeBytes(type_))) return true;
    const unsigned char* p = record + offset_;
    switch (type_) {
        case FieldType::ftSmallint:
        case FieldType::ftWord:
        case FieldType::ftBoolean: return Load<std::uint16_t>(p) == 0;
        case FieldType::ftInteger:
        case FieldType::ftDate:
        case FieldType::ftTime: return Load<std::uint32_t>(p) == 0;
        case FieldType::ftFloat:
        case FieldType::ftCurrency:
        case FieldType::ftDateTime: return Load<double>(p) == 0.0;
        case FieldType::ftLargeint: return Load<std::uint64_t>(p) == 0;
        default: return false;
    }
}

bool TzField::IsNullIn(const unsigned char* record) const {
    if (record == nullptr || index_ < 0) return true;
    if (type_ == FieldType::ftString) return false;
    if (TypeBytes(type_) == 0) return true;
    return !dataset_.ShowZero() && ZeroIn(record);
}

std::string_view TzField::RawTextIn(const unsigned char* record) const {
    if (record == nullptr || index_ < 0 || type_ != FieldType::ftString) return {};
    const char* p = reinterpret_cast<const char*>(record + offset_);
    return {p, strnlen(p, static_cast<std::size_t>(DataSize()))};
}

std::int64_t TzField::IntegerIn(const unsigned char* record) const {
    if (IsNullIn(record)) return 0;
    const unsigned char* p = record + offset_;
    switch (type_) {
        case FieldType::ftSmallint: return Load<std::int16_t>(p);
        case FieldType::ftWord: return Load<std::uint16_t>(p);
        case FieldType::ftBoolean: return Load<std::uint16_t>(p) != 0;
        case FieldType::ftInteger:
        case FieldType::ftDate:
        case FieldType::ftTime: return Load<std::int32_t>(p);
        case FieldType::ftLargeint: return Load<std::int64_t>(p);
        case FieldType::ftFloat:
        case FieldType::ftCurrency:
        case FieldType::ftDateTime: {
            double v = Load<double>(p);
            return std::isfinite(v) && std::fabs(v) < 9e18 ? std::llround(v) : 0;
        }
        case FieldType::ftString: {
            std::string text = StringIn(record);
            if (text.empty()) return 0;
            auto value = ParseInteger(text);
            if (!value) throw EDatabaseError("'" + text + "' is not a valid integer value");
            return *value;
        }
        default: return 0;
    }
}

double TzField::FloatIn(const unsigned char* record) const {
    if (IsNullIn(record)) return 0;
    const unsigned char* p = record + offset_;
    switch (type_) {
        case FieldType::ftFloat:
        case FieldType::ftCurrency:
        case FieldType::ftDateTime: return Load<double>(p);
        case FieldType::ftDate:
        case FieldType::ftTime: return DateTimeIn(record);
        case FieldType::ftString: {
            std::string text = StringIn(record);
            if (text.empty()) return 0;
            auto value = ParseFloat(text);
            if (!value) throw EDatabaseError("'" + text + "' is not a valid floating point value");
            return *value;
        }
        default: return static_cast<double>(IntegerIn(record));
    }
}

double TzField::DateTimeIn(const unsigned char* record) const {
    if (IsNullIn(record)) return 0;
    const unsigned char* p = record + offset_;
    switch (type_) {
        case FieldType::ftDate: return DateTimeFromDayNumber(Load<std::int32_t>(p), 0);
        case FieldType::ftTime: return DateTimeFromDayNumber(kDateDelta, Load<std::int32_t>(p));
        case FieldType::ftDateTime: {
            double ms = Load<double>(p);
            if (!std::isfinite(ms)) return 0;
            return ms / kMsPerDay - kDateDelta;
        }
        case FieldType::ftString: {
            std::string text = StringIn(record);
            if (text.empty()) return 0;
            auto value = ParseDateTime(text);
            if (!value) throw EDatabaseError("'" + text + "' is not a valid date and time");
            return *value;
        }
        default: return FloatIn(record);
    }
}

std::string TzField::StringIn(const unsigned char* record) const {
    if (type_ == FieldType::ftString) return DecodeText(RawTextIn(record));
    if (IsNullIn(record)) return {};
    switch (type_) {
        case FieldType::ftBoolean: return IntegerIn(record) ? "True" : "False";
        case FieldType::ftFloat:
        case FieldType::ftCurrency: return FormatFloat(FloatIn(record));
        case FieldType::ftDate: return FormatDate(DateTimeIn(record));
        case FieldType::ftTime: return FormatTime(DateTimeIn(record));
        case FieldType::ftDateTime: return FormatDateTime(DateTimeIn(record));
        default: return std::to_string(IntegerIn(record));
    }
}

bool TzField::IsNull() const { return IsNullIn(dataset_.ActiveBuffer()); }
std::string TzField::AsString() const { return StringIn(dataset_.ActiveBuffer()); }
std::int32_t TzField::AsInteger() const { return static_cast<std::int32_t>(IntegerIn(dataset_.ActiveBuffer())); }
std::int64_t TzField::AsLargeInt() const { return IntegerIn(dataset_.ActiveBuffer()); }
double TzField::AsFloat() const { return FloatIn(dataset_.ActiveBuffer()); }
bool TzField::AsBoolean() const {
    const unsigned char* record = dataset_.ActiveBuffer();
    if (type_ == FieldType::ftString) {
        std::string text = StringIn(record);
        return !text.empty() && (text[0] == 'T' || text[0] == 't' || text[0] == 'Y' || text[0] == 'y');
    }
    return IntegerIn(record) != 0;
}
double TzField::AsDateTime() const { return DateTimeIn(dataset_.ActiveBuffer()); }

unsigned char* TzField::WritableData() {
    if (index_ < 0) throw EDatabaseError("Field '" + fieldName_ + "' is not bound to an open dataset");
    unsigned char* record = dataset_.PendingBuffer();  // refuses outside edit and insert
    if (type_ != FieldType::ftString && TypeBytes(type_) == 0) throw EzDatasetError("Unknown type");
    if (DataSize() < static_cast<std::int32_t>(TypeBytes(type_))) return nullptr;
    return record + offset_;
}

void TzField::StoreText(std::string_view value) {
    unsigned char* p = WritableData();
    if (p == nullptr) return;
    std::size_t room = DataSize() > 0 ? static_cast<std::size_t>(DataSize()) - 1 : 0;
    std::string text = TruncateUtf8(value, std::min<std::size_t>(room, static_cast<std::size_t>(size_)));
    if (DataSize() == 0) return;
    std::memcpy(p, text.data(), text.size());
    p[text.size()] = 0;
    dataset_.FieldChanged();
}

void TzField::SetAsLargeInt(std::int64_t value) {
    if (type_ == FieldType::ftString) return StoreText(std::to_string(value));
    auto checkRange = [&](std::int64_t lo, std::int64_t hi) {
        if (value < lo || value > hi)
            throw EDatabaseError(std::to_string(value) + " is not a valid value for field '" + fieldName_ +
                                 "'. The allowed range is " + std::to_string(lo) + " to " + std::to_string(hi));
    };
    switch (type_) {
        case FieldType::ftSmallint: checkRange(-32768, 32767); break;
        case FieldType::ftWord: checkRange(0, 65535); break;
        case FieldType::ftInteger: checkRange(INT32_MIN, INT32_MAX); break;
        default: break;
    }
    unsigned char* p = WritableData();
    if (p == nullptr) return;
    switch (type_) {
        case FieldType::ftSmallint: Store(p, static_cast<std::int16_t>(value)); break;
        case FieldType::ftWord: Store(p, static_cast<std::uint16_t>(value)); break;
        case FieldType::ftBoolean: Store(p, static_cast<std::uint16_t>(value != 0)); break;
        case FieldType::ftInteger: Store(p, static_cast<std::int32_t>(value)); break;
        case FieldType::ftLargeint: Store(p, value); break;
        default: return SetAsFloat(static_cast<double>(value));
    }
    dataset_.FieldChanged();
}

void TzField::SetAsFloat(double value) {
    switch (type_) {
        case FieldType::ftFloat:
        case FieldType::ftCurrency: {
            unsigned char* p = WritableData();
            if (p == nullptr) return;
            Store(p, value);
            dataset_.FieldChanged();
            return;
        }
        case FieldType::ftDate:
        case FieldType::ftTime:
        case FieldType::ftDateTime: return SetAsDateTime(value);
        case FieldType::ftString: return StoreText(FormatFloat(value));
        default:
            if (!std::isfinite(value) || std::fabs(value) > 9e18)
                throw EDatabaseError(FormatFloat(value) + " is not a valid value for field '" + fieldName_ + "'");
            return SetAsLargeInt(std::llround(value));
    }
}

void TzField::SetAsBoolean(bool value) {
    if (type_ == FieldType::ftString) return StoreText(value ? "True" : "False");
    SetAsLargeInt(value ? 1 : 0);
}

void TzField::SetAsDateTime(double value) {
    switch (type_) {
        case FieldType::ftDate:
        case FieldType::ftTime:
        case FieldType::ftDateTime: break;
        case FieldType::ftString: return StoreText(FormatDateTime(value));
        default: return SetAsFloat(value);
    }
    unsigned char* p = WritableData();
    if (p == nullptr) return;
    if (type_ == FieldType::ftDate) Store(p, DayNumberOf(value));
    else if (type_ == FieldType::ftTime) Store(p, MillisecondsOf(value));
    else Store(p, static_cast<double>(DayNumberOf(value)) * kMsPerDay + MillisecondsOf(value));
    dataset_.FieldChanged();
}

void TzField::SetAsString(std::string_view value) {
    if (type_ == FieldType::ftString) return StoreText(value);
    if (value.empty()) return Clear();
    const std::string text(value);
    switch (type_) {
        case FieldType::ftFloat:
        case FieldType::ftCurrency: {
            auto v = ParseFloat(text);
            if (!v) throw EDatabaseError("'" + text + "' is not a valid floating point value");
            return SetAsFloat(*v);
        }
        case FieldType::ftDate:
        case FieldType::ftTime:
        case FieldType::ftDateTime: {
            auto v = ParseDateTime(text);
            if (!v) throw EDatabaseError("'" + text + "' is not a valid date and time");
            return SetAsDateTime(*v);
        }
        case FieldType::ftBoolean: {
            if (text == "True" || text == "true" || text == "1") return SetAsBoolean(true);
            if (text == "False" || text == "false" || text == "0") return SetAsBoolean(false);
            throw EDatabaseError("'" + text + "' is not a valid boolean value for field '" + fieldName_ + "'");
        }
        default: {
            auto v = ParseInteger(text);
            if (!v) throw EDatabaseError("'" + text + "' is not a valid integer value");
            return SetAsLargeInt(*v);
        }
    }
}

void TzField::Clear() {
    // Writing an empty value leaves the stored bytes as they were; it still needs a record
    // being edited or inserted.
    WritableData();
    dataset_.FieldChanged();
}

}  // namespace wt
