#include "catalogue/FieldTypes.h"

namespace wt {

bool IsSupportedFieldType(std::uint8_t code) {
    return FieldWidth(static_cast<FieldType>(code), 0).has_value();
}

std::optional<std::int32_t> FieldWidth(FieldType type, std::int32_t size) {
    switch (type) {
        case FieldType::ftString: return size + 4;  // stored with three spare bytes
        case FieldType::ftSmallint:
        case FieldType::ftWord:
        case FieldType::ftBoolean: return 2;
        case FieldType::ftInteger:
        case FieldType::ftDate:
        case FieldType::ftTime: return 4;
        case FieldType::ftFloat:
        case FieldType::ftCurrency:
        case FieldType::ftDateTime:
        case FieldType::ftLargeint: return 8;
        default: return std::nullopt;
    }
}

std::string FieldTypeName(FieldType type) {
    switch (type) {
        case FieldType::ftString: return "String";
        case FieldType::ftSmallint: return "SmallInt";
        case FieldType::ftInteger: return "Integer";
        case FieldType::ftWord: return "Word";
        case FieldType::ftBoolean: return "Boolean";
        case FieldType::ftFloat: return "Float";
        case FieldType::ftCurrency: return "Currency";
        case FieldType::ftDate: return "Date";
        case FieldType::ftTime: return "Time";
        case FieldType::ftDateTime: return "DateTime";
        case FieldType::ftLargeint: return "LargeInt";
        default: return "Unknown";
    }
}

}  // namespace wt
