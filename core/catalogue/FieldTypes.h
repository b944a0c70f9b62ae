#pragma once
// Field type codes of the binary data set file and how wide each one is in a record.
#include <cstdint>
#include <optional>
#include <string>

namespace wt {

enum class FieldType : std::uint8_t {
    ftUnknown = 0,
    ftString = 1,
    ftSmallint = 2,
    ftInteger = 3,
    ftWord = 4,
    ftBoolean = 5,
    ftFloat = 6,
    ftCurrency = 7,
    ftDate = 9,
    ftTime = 10,
    ftDateTime = 11,
    ftLargeint = 25,
};

// One field as the program declares it (name, type, size, precision).
struct FieldDef {
    std::string Name;
    FieldType DataType = FieldType::ftUnknown;
    std::int32_t Size = 0;
    std::int32_t Precision = 0;
};

bool IsSupportedFieldType(std::uint8_t code);
// Bytes the type occupies in a record; nullopt for an unsupported code. Text takes Size + 4.
std::optional<std::int32_t> FieldWidth(FieldType type, std::int32_t size);
// The framework's name of a type ("String", "Integer", ...), as type-mismatch messages show it.
std::string FieldTypeName(FieldType type);

}  // namespace wt
