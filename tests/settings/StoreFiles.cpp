#include "StoreFiles.h"

#include <cstring>

#include "TestFiles.h"
#include "platform/ByteOrder.h"

namespace wt::test {

namespace {
double GetDouble(const std::uint8_t* p) {
    const std::uint64_t bits = ReadLE32(p) | (static_cast<std::uint64_t>(ReadLE32(p + 4)) << 32);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}
void PutDouble(std::uint8_t* p, double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    WriteLE32(p, static_cast<std::uint32_t>(bits));
    WriteLE32(p + 4, static_cast<std::uint32_t>(bits >> 32));
}
std::int32_t I32(const std::uint8_t* p) { return static_cast<std::int32_t>(ReadLE32(p)); }
}  // namespace

std::vector<std::uint8_t> ParsedStore::Stored(const IniEntry& e) const {
    const std::size_t n = static_cast<std::size_t>(e.value < 0 ? -e.value : e.value);
    return {bytes.begin() + e.dataOffset, bytes.begin() + e.dataOffset + static_cast<std::ptrdiff_t>(n)};
}

ParsedStore ParseStore(const std::string& path) {
    ParsedStore s;
    s.bytes = ReadFileBytes(path);
    const std::uint8_t* b = s.bytes.data();
    s.creationTime = GetDouble(b + 8);
    s.tableOffset = I32(b + 16);
    s.recordCount = I32(b + 20);
    s.lastChange = GetDouble(b + 24);
    s.counter = I32(b + 32);
    s.reserved = I32(b + 36);
    for (std::int32_t i = 0; i < s.recordCount; ++i) {
        const std::uint8_t* e = b + s.tableOffset + 12 * i;
        s.entries.push_back(IniEntry{I32(e), I32(e + 4), I32(e + 8)});
    }
    return s;
}

void MakeStoreFile(const std::string& path, double creationTime, const std::vector<RawRecord>& records) {
    std::vector<std::uint8_t> bytes(40, 0);
    std::memcpy(bytes.data(), "TzID\x1A", 5);
    PutDouble(bytes.data() + 8, creationTime);
    PutDouble(bytes.data() + 24, creationTime);
    std::vector<IniEntry> entries;
    for (const auto& r : records) {
        const auto offset = r.stored.empty() ? 0 : static_cast<std::int32_t>(bytes.size());
        bytes.insert(bytes.end(), r.stored.begin(), r.stored.end());
        entries.push_back(IniEntry{r.key, offset, r.value});
    }
    WriteLE32(bytes.data() + 16, static_cast<std::uint32_t>(bytes.size()));
    WriteLE32(bytes.data() + 20, static_cast<std::uint32_t>(entries.size()));
    for (const auto& e : entries) {
        std::uint8_t raw[12];
        WriteLE32(raw, static_cast<std::uint32_t>(e.key));
        WriteLE32(raw + 4, static_cast<std::uint32_t>(e.dataOffset));
        WriteLE32(raw + 8, static_cast<std::uint32_t>(e.value));
        bytes.insert(bytes.end(), raw, raw + 12);
    }
    WriteFileBytes(path, bytes);
}

}  // namespace wt::test
