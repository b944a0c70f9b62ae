// The record table and data area of the settings file: lookup, insertion, deletion and the
// byte moves that keep the data area without gaps.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/ByteOrder.h"
#include "settings/DateTime.h"
#include "settings/IniLayout.h"
#include "settings/LHARoutines.h"
#include "settings/zIniData.h"

namespace wt {

using namespace ini;

IniEntry TzIniData::ReadEntry(std::int32_t index) const {
    unsigned char raw[kEntrySize];
    file_.ReadAt(info_.tableOffset + std::int64_t{kEntrySize} * index, raw, sizeof raw);
    return IniEntry{static_cast<std::int32_t>(ReadLE32(raw)), static_cast<std::int32_t>(ReadLE32(raw + 4)),
                    static_cast<std::int32_t>(ReadLE32(raw + 8))};
}

void TzIniData::WriteEntry(std::int32_t index, const IniEntry& entry) {
    unsigned char raw[kEntrySize];
    WriteLE32(raw, static_cast<std::uint32_t>(entry.key));
    WriteLE32(raw + 4, static_cast<std::uint32_t>(entry.dataOffset));
    WriteLE32(raw + 8, static_cast<std::uint32_t>(entry.value));
    file_.WriteAt(info_.tableOffset + std::int64_t{kEntrySize} * index, raw, sizeof raw);
}

void TzIniData::SetCurrent(std::int32_t index) {
    current_ = ReadEntry(index);
    currentIndex_ = index;
}

// Reads one entry per probe: the ends first, then halving while the range is wider than ten
// entries, then a linear scan.
TzIniData::Found TzIniData::Find(std::int32_t key) const {
    const std::int32_t count = info_.recordCount;
    if (count == 0) return {false, 0};
    const std::int32_t first = ReadEntry(0).key;
    if (key < first) return {false, 0};
    if (key == first) return {true, 0};
    const std::int32_t last = ReadEntry(count - 1).key;
    if (key > last) return {false, count};
    if (key == last) return {true, count - 1};
    std::int32_t lo = 0, hi = count - 1;
    while (lo + 10 < hi) {
        const std::int32_t mid = lo + (hi - lo) / 2;
        const std::int32_t k = ReadEntry(mid).key;
        if (k == key) return {true, mid};
        if (k < key) lo = mid;
        else hi = mid;
    }
    for (std::int32_t i = lo; i <= hi; ++i) {
        const std::int32_t k = ReadEntry(i).key;
        if (k == key) return {true, i};
        if (k > key) return {false, i};
    }
    return {false, hi + 1};
}

// Moves [from, from + length) by `distance` bytes; toward the end the pieces go last first,
// so no byte is overwritten before it has moved.
void TzIniData::MoveBytes(std::int64_t from, std::int64_t length, std::int64_t distance) {
    if (length <= 0 || distance == 0) return;
    std::vector<unsigned char> buffer(static_cast<std::size_t>(std::min(length, kMoveBufferSize)));
    const auto piece = static_cast<std::int64_t>(buffer.size());
    if (distance > 0) {
        for (std::int64_t end = from + length; end > from;) {
            const std::int64_t n = std::min(piece, end - from);
            end -= n;
            file_.ReadAt(end, buffer.data(), static_cast<std::size_t>(n));
            file_.WriteAt(end + distance, buffer.data(), static_cast<std::size_t>(n));
        }
    } else {
        for (std::int64_t start = from; start < from + length;) {
            const std::int64_t n = std::min(piece, from + length - start);
            file_.ReadAt(start, buffer.data(), static_cast<std::size_t>(n));
            file_.WriteAt(start + distance, buffer.data(), static_cast<std::size_t>(n));
            start += n;
        }
    }
}

void TzIniData::InsertEntry(std::int32_t index, const IniEntry& entry) {
    const std::int64_t at = info_.tableOffset + std::int64_t{kEntrySize} * index;
    MoveBytes(at, std::int64_t{kEntrySize} * (info_.recordCount - index), kEntrySize);
    WriteEntry(index, entry);
    info_.recordCount += 1;
    WriteInfo();
}

void TzIniData::DeleteAt(std::int32_t index) {
    const IniEntry entry = ReadEntry(index);
    const std::int64_t d = entry.dataOffset;
    const std::int64_t n = std::llabs(static_cast<long long>(entry.value));
    // Only bytes inside the data area move; an entry pointing elsewhere (a damaged file) is
    // dropped without touching other records' bytes.
    const bool hasBytes = !entry.IsInteger() && d >= kDataStart && n > 0 && d + n <= info_.tableOffset;
    if (hasBytes) {
        MoveBytes(d + n, file_.Size() - (d + n), -n);
        info_.tableOffset = static_cast<std::int32_t>(info_.tableOffset - n);
    }
    info_.recordCount -= 1;
    WriteInfo();
    const std::int64_t after = info_.tableOffset + std::int64_t{kEntrySize} * (index + 1);
    MoveBytes(after, std::int64_t{kEntrySize} * (info_.recordCount - index), -kEntrySize);
    file_.Truncate(info_.tableOffset + std::int64_t{kEntrySize} * info_.recordCount);
    if (hasBytes) {
        for (std::int32_t i = 0; i < info_.recordCount; ++i) {
            IniEntry other = ReadEntry(i);
            if (other.dataOffset > d) {
                other.dataOffset = static_cast<std::int32_t>(other.dataOffset - n);
                WriteEntry(i, other);
            }
        }
    }
    if (info_.recordCount == 0) {
        current_.reset();
        currentIndex_ = -1;
    } else {
        SetCurrent(std::min(index, info_.recordCount - 1));
    }
}

void TzIniData::StoreData(std::int32_t key, std::string_view bytes) {
    Found f = Find(key);
    if (f.found) DeleteAt(f.index);

    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const std::vector<std::uint8_t> packed = CompressBytes({data, bytes.size()});
    const bool compressed = packed.size() < bytes.size();
    const std::uint8_t* stored = compressed ? packed.data() : data;
    const auto length = static_cast<std::int32_t>(compressed ? packed.size() : bytes.size());

    f = Find(key);
    const std::int32_t dataOffset = info_.tableOffset;
    MoveBytes(info_.tableOffset, std::int64_t{kEntrySize} * info_.recordCount, length);
    file_.WriteAt(dataOffset, stored, static_cast<std::size_t>(length));
    info_.tableOffset += length;
    WriteInfo();
    InsertEntry(f.index, IniEntry{key, dataOffset, compressed ? -length : length});
    Commit();
    SetCurrent(f.index);
}

// False when the record's bytes lie outside the file. Errors while reading or decompressing
// are swallowed: the value is then what was produced up to the error, possibly empty.
bool TzIniData::ReadData(const IniEntry& entry, std::string& value) const {
    const std::int64_t n = std::llabs(static_cast<long long>(entry.value));
    const std::int64_t d = entry.dataOffset;
    value.clear();
    try {
        if (d <= 0 || n <= 0 || d + n >= file_.Size()) return false;
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(n));
        file_.ReadAt(d, bytes.data(), bytes.size());
        // Files made before May 2003 stored compressed values with a positive size; there a
        // control character (other than CR and LF) as fifth byte marks compressed data.
        const bool legacyCompressed = creationTime_ < EncodeDate(2003, 5, 1) && n > 5 && bytes[4] < 0x20 &&
                                      bytes[4] != '\n' && bytes[4] != '\r';
        if (entry.value > 0 && !legacyCompressed) {
            value.assign(bytes.begin(), bytes.end());
            return true;
        }
        if (n >= 4 && static_cast<std::int32_t>(ReadLE32(bytes.data())) > kMaxValueBytes) return true;
        MemoryByteStream source(bytes);
        MemoryByteStream target;
        try {
            DecompressStream(source, target, true);
        } catch (const std::exception&) {
        }
        value.assign(target.Bytes().begin(), target.Bytes().end());
    } catch (const std::exception&) {
    }
    return true;
}

}  // namespace wt
