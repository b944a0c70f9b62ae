#include "catalogue/CatalogueRepair.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "catalogue/DataSetFile.h"
#include "catalogue/DatasetError.h"
#include "platform/ByteOrder.h"

namespace wt {

namespace {

// The layout, as a file of the given size would have it; throws the engine's refusals.
DataSetLayout LayoutAt(const std::vector<unsigned char>& head, std::int64_t size) {
    return ParseDataSetLayout(head.data(), head.size(), size);
}

}  // namespace

DataSetDamage InspectDataSetFile(const std::string& path) {
    DataSetDamage damage;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return damage;  // missing: a new one is made
    const std::int64_t size = st.st_size;
    std::ifstream in(path, std::ios::binary);
    // The header and as many descriptors as a sane file has: 64 KB holds over 1,500.
    std::vector<unsigned char> head(static_cast<std::size_t>(std::min<std::int64_t>(size, 65536)));
    in.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
    if (!in) {
        damage.kind = DataSetDamage::Kind::Refused;
        damage.reason = "Stream read error";
        return damage;
    }
    try {
        LayoutAt(head, size);
        return damage;
    } catch (const EzDatasetError& refusal) {
        damage.kind = DataSetDamage::Kind::Refused;
        damage.reason = refusal.what();
    }
    // Torn: cut to whole records, the file would open.
    if (head.size() < static_cast<std::size_t>(kHeaderSize)) return damage;
    const std::int64_t dataStart = static_cast<std::int32_t>(ReadLE32(head.data() + 20));
    if (dataStart <= 0 || size <= dataStart) return damage;
    std::int64_t whole = 0, cut = 0;
    try {
        const std::int64_t recordSize = LayoutAt(head, dataStart).RecordSize;
        if (recordSize <= 0) return damage;
        whole = (size - dataStart) / recordSize;
        cut = dataStart + whole * recordSize;
        if (cut == size) return damage;
        LayoutAt(head, cut);
    } catch (const EzDatasetError&) {
        return damage;
    }
    damage.kind = DataSetDamage::Kind::TornTail;
    damage.wholeRecords = whole;
    damage.strayBytes = size - cut;
    return damage;
}

void CutTornTail(const std::string& path) {
    const DataSetDamage damage = InspectDataSetFile(path);
    if (damage.kind != DataSetDamage::Kind::TornTail) throw EzDatasetError("The file has no torn record to cut off.");
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) throw EzDatasetError("Cannot open file \"" + path + "\". " + std::strerror(errno));
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) throw EzDatasetError("Cannot open file \"" + path + "\". " + std::strerror(errno));
    // One truncation: either done or not, never half.
    const bool ok = ::ftruncate(fd, static_cast<off_t>(st.st_size - damage.strayBytes)) == 0 && ::fsync(fd) == 0;
    const std::string reason = std::strerror(errno);
    ::close(fd);
    if (!ok) throw EzDatasetError("Cannot write file \"" + path + "\". " + reason);
}

}  // namespace wt
