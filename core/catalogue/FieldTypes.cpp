#include "catalogue/FieldTypes.h"

namespace wt {

bool IsSupportedFieldType(std::uint8_t code) {
    return FieldWidth(static_cast<TFieldType>(code), 0).has_value();
}

std::optional<std::int32_t> FieldWidth(TFieldType type, std::int32_t size) {
    switch (type) {
        case TFieldType::ftString: return size + 4;  // stored with three spare bytes
        case TFieldType::ftSmallint:
        case TFieldType::ftWord:
        case TFieldType::ftBoolean: return 2;
        case TFieldType::ftInteger:
        case TFieldType::ftDate:
        case TFieldType::ftTime: return 4;
        case TFieldType::ftFloat:
        case TFieldType::ftCurrency:
        case TFieldType::ftDateTime:
        case TFieldType::ftLargeint: return 8;
        default: return std::nullopt;
    }
}

std::string FieldTypeName(TFieldType type) {
    switch (type) {
        case TFieldType::ftString: return "String";
        case TFieldType::ftSmallint: return "SmallInt";
        case TFieldType::ftInteger: return "Integer";
        case TFieldType::ftWord: return "Word";
        case TFieldType::ftBoolean: return "Boolean";
        case TFieldType::ftFloat: return "Float";
        case TFieldType::ftCurrency: return "Currency";
        case TFieldType::ftDate: return "Date";
        case TFieldType::ftTime: return "Time";
        case TFieldType::ftDateTime: return "DateTime";
        case TFieldType::ftLargeint: return "LargeInt";
        default: return "Unknown";
    }
}

}  // namespace wt
