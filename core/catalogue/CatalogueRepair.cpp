#include "catalogue/CatalogueRepair.h"

#include <algorithm>
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

DataSetDamage InspectDataSetFile(const std::string& path, FileSystem& files) {
    DataSetDamage damage;
    FileInfo info;
    if (!files.Info(path, &info).ok()) return damage;  // missing: a new one is made
    const std::int64_t size = info.size;
    // The header and as many descriptors as a sane file has: 64 KB holds over 1,500.
    std::vector<unsigned char> head(static_cast<std::size_t>(std::min<std::int64_t>(size, 65536)));
    std::unique_ptr<OpenFile> in;
    if (!files.Open(path, OpenMode::Read, &in).ok() || !in->ReadExactly(0, head.data(), head.size()).ok()) {
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

void CutTornTail(const std::string& path, FileSystem& files) {
    const DataSetDamage damage = InspectDataSetFile(path, files);
    if (damage.kind != DataSetDamage::Kind::TornTail) throw EzDatasetError("The file has no torn record to cut off.");
    std::unique_ptr<OpenFile> file;
    FileInfo info;
    FileResult opened = files.Open(path, OpenMode::ReadWrite, &file);
    if (opened.ok()) opened = file->Info(&info);
    if (!opened.ok()) throw EzDatasetError("Cannot open file \"" + path + "\". " + opened.Reason());
    // One truncation: either done or not, never half.
    FileResult cut = file->Truncate(info.size - damage.strayBytes);
    if (cut.ok()) cut = file->Sync();
    if (!cut.ok()) throw EzDatasetError("Cannot write file \"" + path + "\". " + cut.Reason());
}

}  // namespace wt
