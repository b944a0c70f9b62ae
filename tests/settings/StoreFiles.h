#pragma once
// Reading and making settings files byte by byte, for the store's tests.
#include <cstdint>
#include <string>
#include <vector>

#include "settings/zIniData.h"

namespace wt::test {

struct ParsedStore {
    std::vector<std::uint8_t> bytes;
    double creationTime = 0;
    std::int32_t tableOffset = 0;
    std::int32_t recordCount = 0;
    double lastChange = 0;
    std::int32_t counter = 0;
    std::int32_t reserved = 0;
    std::vector<IniEntry> entries;
    // The stored bytes of a data record.
    std::vector<std::uint8_t> Stored(const IniEntry& e) const;
};

ParsedStore ParseStore(const std::string& path);

struct RawRecord {
    std::int32_t key;
    std::vector<std::uint8_t> stored;  // empty for an integer record
    std::int32_t value;                // integer value or size field
};

// Writes a store file holding the records in the given order (sort them yourself).
void MakeStoreFile(const std::string& path, double creationTime, const std::vector<RawRecord>& records);

}  // namespace wt::test
