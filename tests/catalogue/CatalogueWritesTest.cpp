// Catalogue writes a crash cannot turn into a lost catalogue: moves and bulk changes replace
// the file whole, and a torn last record is told apart from other damage and cut off.
#include <gtest/gtest.h>

#include <filesystem>

#include "TempFolder.h"
#include "catalogue/CatalogueRepair.h"
#include "catalogue/StationCatalogue.h"

namespace wt {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;
namespace fs = std::filesystem;

constexpr std::size_t kEmpty = 229, kRecord = 443;

void AddStations(const std::string& folder, int count) {
    StationCatalogue cat(folder);
    cat.Open();
    for (int i = 1; i <= count; ++i)
        cat.AddStation({0, "G", "Station " + std::to_string(i), 128, "http://s/" + std::to_string(i)});
}

std::vector<std::string> Titles(const std::string& folder) {
    StationCatalogue cat(folder);
    cat.Open();
    std::vector<std::string> titles;
    cat.ForEachStation([&](const StationRecord& s) { titles.push_back(s.Title); });
    return titles;
}

// Only the catalogue itself: no copy of a replacement is left behind.
std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    return names;
}

TEST(CatalogueWrites, DeleteAndBulkChangesReplaceTheFileWhole) {
    TempFolder dir;
    AddStations(dir.Path(), 5);
    {
        StationCatalogue cat(dir.Path());
        cat.Open();
        const auto mode = fs::status(dir.File("data.db")).permissions();
        ASSERT_TRUE(cat.DataSetGoto(2));
        cat.DeleteCurrentStation();
        EXPECT_EQ(fs::status(dir.File("data.db")).permissions(), mode);
        EXPECT_EQ(fs::file_size(dir.File("data.db")), kEmpty + 4 * kRecord);

        // Inside a bulk change nothing reaches the file until it finishes.
        const auto before = ReadBytes(dir.File("data.db"));
        TzBulkChange bulk(cat.Dataset());
        cat.AddStation({0, "G", "Bulk 1", 1, "http://b/1"});
        cat.AddStation({0, "G", "Bulk 2", 1, "http://b/2"});
        ASSERT_TRUE(cat.DataSetGoto(1));
        cat.DeleteCurrentStation();
        EXPECT_EQ(ReadBytes(dir.File("data.db")), before);
        bulk.Finish();
    }
    EXPECT_EQ(Titles(dir.Path()),
              (std::vector<std::string>{"Station 3", "Station 4", "Station 5", "Bulk 1", "Bulk 2"}));
    EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"data.db"});
}

TEST(CatalogueRepair, TellsATornTailFromOtherDamage) {
    TempFolder dir;
    AddStations(dir.Path(), 3);
    const auto whole = ReadBytes(dir.File("data.db"));
    using Kind = DataSetDamage::Kind;
    struct Case {
        const char* what;
        std::size_t size;  // the file cut to this many bytes (or grown with zeros)
        Kind kind;
        std::int64_t wholeRecords;
    };
    const Case cases[] = {
        {"sound", whole.size(), Kind::None, 0},
        {"one byte short", whole.size() - 1, Kind::TornTail, 2},
        {"one byte of the last record", kEmpty + 2 * kRecord + 1, Kind::TornTail, 2},
        {"one byte over", whole.size() + 1, Kind::TornTail, 3},
        {"no whole record", kEmpty + 10, Kind::TornTail, 0},
        {"descriptors cut", 100, Kind::Refused, 0},
        {"empty file", 0, Kind::Refused, 0},
    };
    for (const Case& c : cases) {
        auto bytes = whole;
        bytes.resize(c.size, 0);
        WriteBytes(dir.File("data.db"), bytes);
        const DataSetDamage damage = InspectDataSetFile(dir.File("data.db"));
        EXPECT_EQ(damage.kind, c.kind) << c.what;
        if (c.kind != Kind::TornTail) continue;
        EXPECT_EQ(damage.wholeRecords, c.wholeRecords) << c.what;
        CutTornTail(dir.File("data.db"));
        EXPECT_EQ(fs::file_size(dir.File("data.db")), kEmpty + c.wholeRecords * kRecord) << c.what;
        EXPECT_EQ(Titles(dir.Path()).size(), static_cast<std::size_t>(c.wholeRecords)) << c.what;
    }
    // Other damage is not cut at all, and a missing file is no damage.
    auto bytes = whole;
    bytes[0] = 'X';
    WriteBytes(dir.File("data.db"), bytes);
    EXPECT_EQ(InspectDataSetFile(dir.File("data.db")).reason, "Not a binary data set file.");
    EXPECT_THROW(CutTornTail(dir.File("data.db")), EzDatasetError);
    EXPECT_EQ(ReadBytes(dir.File("data.db")), bytes);
    EXPECT_EQ(InspectDataSetFile(dir.File("missing.db")).kind, Kind::None);
}

}  // namespace
}  // namespace wt
