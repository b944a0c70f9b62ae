// Catalogue writes a crash cannot turn into a lost catalogue: moves and bulk changes replace
// the file whole, a torn last record is told apart from other damage and cut off, and a full
// disk or a deleted folder is an error that leaves the file as it was.
#include <gtest/gtest.h>

#include <filesystem>

#include "FaultyFileSystem.h"
#include "TempFolder.h"
#include "catalogue/DatasetError.h"
#include "catalogue/CatalogueRepair.h"
#include "catalogue/StationCatalogue.h"

namespace wt {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;
using test::FaultyFileSystem;
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

// Writes on a disk that fills up or loses its folder: each failure is the engine's error
// with the system's reason, and the file on disk keeps the stations it had.
std::string FailureOf(const std::function<void()>& write) {
    try {
        write();
    } catch (const EzDatasetError& e) {
        return e.what();
    }
    return "(written)";
}

TEST(CatalogueWrites, AFailedWriteIsTheEnginesErrorAndTheFileKeepsItsStations) {
    struct Case {
        const char* name;
        std::function<void(FaultyFileSystem&, const std::string&)> fault;
        std::function<void(StationCatalogue&)> write;
        std::string failure;  // {} stands for the catalogue's path
    };
    const auto add = [](StationCatalogue& cat) { cat.AddStation({0, "G", "Station 3", 128, "http://s/3"}); };
    const auto remove = [](StationCatalogue& cat) {
        cat.Dataset().First();
        cat.Dataset().Delete();
    };
    const Case cases[] = {
        {"append on a full disk", [](FaultyFileSystem& d, const std::string&) { d.FillAfter(0); }, add,
         "Stream write error"},
        {"delete on a full disk", [](FaultyFileSystem& d, const std::string&) { d.FillAfter(10); }, remove,
         "Cannot write file \"{}\". No space left on device"},
        {"delete with its folder gone", [](FaultyFileSystem& d, const std::string& f) { d.Vanish(f); }, remove,
         "Cannot create file \"{}.new-XXXXXX\". No such file or directory"},
        {"delete when the flush fails", [](FaultyFileSystem& d, const std::string&) { d.FailSyncs(); }, remove,
         "Cannot write file \"{}\". Input/output error"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        {
            StationCatalogue cat(dir.Path());
            cat.Open();
            cat.AddStation({0, "G", "Station 1", 128, "http://s/1"});
            cat.AddStation({0, "G", "Station 2", 128, "http://s/2"});
        }
        FaultyFileSystem disk;
        {
            StationCatalogue cat(dir.Path());
            cat.Dataset().SetFileSystem(disk);
            cat.Open();
            c.fault(disk, dir.Path());
            std::string expected = c.failure;
            if (auto at = expected.find("{}"); at != std::string::npos) expected.replace(at, 2, dir.File(kCatalogueFileName));
            EXPECT_EQ(FailureOf([&] { c.write(cat); }), expected);
            disk.Heal();
        }
        EXPECT_EQ(Titles(dir.Path()), (std::vector<std::string>{"Station 1", "Station 2"}));
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
    }
}

}  // namespace
}  // namespace wt
