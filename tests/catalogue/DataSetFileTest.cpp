// The binary data set file on disk: the exact bytes written, the refusals when reading, and
// how records move in the file.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "TempFolder.h"
#include "catalogue/DataSetFile.h"
#include "catalogue/FieldText.h"
#include "catalogue/StationCatalogue.h"
#include "catalogue/zDataset.h"
#include "platform/ByteOrder.h"

namespace wt {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

std::vector<FieldDef> StationDefs() {
    return {{"ID", FieldType::ftInteger, 0, 0},
            {"Genre", FieldType::ftString, 25, 0},
            {"Title", FieldType::ftString, 200, 0},
            {"BitRate", FieldType::ftSmallint, 0, 0},
            {"URL", FieldType::ftString, 200, 0}};
}

std::int32_t I32(const std::vector<unsigned char>& b, std::size_t at) {
    return static_cast<std::int32_t>(ReadLE32(b.data() + at));
}

void PutI32(std::vector<unsigned char>& b, std::size_t at, std::int32_t v) {
    WriteLE32(b.data() + at, static_cast<std::uint32_t>(v));
}

std::string OpenError(const std::string& path) {
    TzDataset ds;
    ds.SetFileName(path);
    try {
        ds.Open();
    } catch (const EzDatasetError& e) {
        EXPECT_FALSE(ds.Active());
        return e.what();
    }
    return "opened";
}

TEST(DataSetFile, EmptyCatalogueIsThe229BytesOfItsHeaderAndFiveDescriptors) {
    TempFolder dir;
    CreateDataSetFile(dir.File("data.db"), StationDefs());
    auto b = ReadBytes(dir.File("data.db"));
    ASSERT_EQ(b.size(), 229u);
    const unsigned char header[24] = {0x42, 0x44, 0x53, 0x1A, 1, 0, 0, 0, 0xBB, 1, 0, 0,
                                      0,    0,    0,    0,    5, 0, 0, 0, 0xE5, 0, 0, 0};
    EXPECT_EQ(0, std::memcmp(b.data(), header, 24));
    struct Expected { const char* name; int code, width, size; } fields[] = {
        {"ID", 3, 4, 0}, {"Genre", 1, 29, 25}, {"Title", 1, 204, 200}, {"BitRate", 2, 2, 0}, {"URL", 1, 204, 200}};
    for (int i = 0; i < 5; ++i) {
        const std::size_t d = 24 + 41 * i;
        std::vector<unsigned char> name(b.begin() + d, b.begin() + d + 28);
        std::vector<unsigned char> want(28, 0);
        std::memcpy(want.data(), fields[i].name, std::strlen(fields[i].name));
        EXPECT_EQ(name, want) << fields[i].name;
        EXPECT_EQ(b[d + 28], fields[i].code);
        EXPECT_EQ(I32(b, d + 29), fields[i].width);
        EXPECT_EQ(I32(b, d + 33), fields[i].size);
        EXPECT_EQ(I32(b, d + 37), 0);
    }
}

TEST(DataSetFile, RecordsSitAtTheirOffsetsWithTextCutAndZeroEnded) {
    TempFolder dir;
    {
        StationCatalogue cat(dir.Path());
        cat.Open();
        cat.AddStation({0, std::string(25, 'g'), "T", 128, "http://a/"});
    }
    auto b = ReadBytes(dir.File("data.db"));
    ASSERT_EQ(b.size(), 229u + 443u);
    const std::size_t r = 229;
    EXPECT_EQ(I32(b, r), 1);
    EXPECT_EQ(std::string(b.begin() + r + 4, b.begin() + r + 29), std::string(25, 'g'));
    EXPECT_EQ(b[r + 4 + 25], 0);  // the zero of a text of exactly Size characters
    EXPECT_EQ(b[r + 33], 'T');
    EXPECT_EQ(b[r + 34], 0);
    EXPECT_EQ(ReadLE16(b.data() + r + 237), 128);
    EXPECT_EQ(std::string(b.begin() + r + 239, b.begin() + r + 248), "http://a/");
}

TEST(DataSetFile, NameOf27CharactersIsStoredWholeWithItsZero) {
    TempFolder dir;
    std::string name(27, 'N');
    CreateDataSetFile(dir.File("x.db"), {{name, FieldType::ftLargeint, 0, 0}});
    auto b = ReadBytes(dir.File("x.db"));
    EXPECT_EQ(std::string(b.begin() + 24, b.begin() + 51), name);
    EXPECT_EQ(b[51], 0);
    EXPECT_EQ(b[24 + 28], 25);
    EXPECT_EQ(I32(b, 24 + 29), 8);
}

TEST(DataSetFile, UnsupportedTypeIsRefusedBeforeTheFileExists) {
    TempFolder dir;
    TzDataset ds;
    ds.SetFileName(dir.File("x.db"));
    ds.FieldDefs = {{"A", FieldType::ftInteger, 0, 0}, {"B", static_cast<FieldType>(8), 0, 0}};
    try {
        ds.Open();
        FAIL();
    } catch (const EzDatasetError& e) {
        EXPECT_STREQ(e.what(), "InitFieldsDefs: Unsupported field type");
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("x.db")));
}

// A valid two-record catalogue image to damage.
std::vector<unsigned char> TwoRecordImage(TempFolder& dir) {
    {
        StationCatalogue cat(dir.Path(), "good.db");
        cat.Open();
        cat.AddStation({0, "Rock", "A", 64, "http://a/"});
        cat.AddStation({0, "Pop", "B", 96, "http://b/"});
    }
    return ReadBytes(dir.File("good.db"));
}

TEST(DataSetFile, DamagedFilesAreRefusedWithTheirMessageAndLeftUntouched) {
    TempFolder dir;
    const auto good = TwoRecordImage(dir);
    struct Case {
        const char* what;
        std::function<void(std::vector<unsigned char>&)> damage;
        std::string message;
    } cases[] = {
        {"bad magic", [](auto& b) { b[3] = 0x1B; }, "Not a binary data set file."},
        {"short file", [](auto& b) { b.resize(3); }, "Not a binary data set file."},
        {"empty file", [](auto& b) { b.clear(); }, "Not a binary data set file."},
        {"version 2", [](auto& b) { PutI32(b, 4, 2); }, "Invalid data file version."},
        {"no fields", [](auto& b) { PutI32(b, 16, 0); }, "Invalid number of fields."},
        {"negative fields", [](auto& b) { PutI32(b, 16, -3); }, "Invalid number of fields."},
        {"forged huge field count", [](auto& b) { PutI32(b, 16, 0x7FFFFFFF); }, "Invalid number of fields."},
        {"header cut", [](auto& b) { b.resize(20); }, "Invalid number of fields."},
        {"header record size differs", [](auto& b) { PutI32(b, 8, 442); }, "Internal open: File record size mismatch."},
        {"one byte more", [](auto& b) { b.push_back(0); },
         "Internal open: Invalid record size.\rStartData   : 229\rfRecordCount: 2\rfRecordSize : 443\rfStream.SIze: 1116"},
        {"ends inside a record", [](auto& b) { b.pop_back(); },
         "Internal open: Invalid record size.\rStartData   : 229\rfRecordCount: 1\rfRecordSize : 443\rfStream.SIze: 1114"},
        {"data start before the descriptors", [](auto& b) { PutI32(b, 20, 229 - 443); },
         "Internal open: Invalid record size.\rStartData   : -214\rfRecordCount: 3\rfRecordSize : 443\rfStream.SIze: 1115"},
        {"data start past the end", [](auto& b) { PutI32(b, 20, 1115 + 443); },
         "Internal open: Invalid record size.\rStartData   : 1558\rfRecordCount: -1\rfRecordSize : 443\rfStream.SIze: 1115"},
        {"forged huge width on an empty file", [](auto& b) { b.resize(229); PutI32(b, 24 + 29, 0x40000000); },
         "Internal open: Invalid record size.\rStartData   : 229\rfRecordCount: 0\rfRecordSize : 1073742263\rfStream.SIze: 229"},
        {"negative width", [](auto& b) { PutI32(b, 24 + 29, -4); PutI32(b, 8, 435); },
         "Internal open: Invalid record size.\rStartData   : 229\rfRecordCount: 2\rfRecordSize : 435\rfStream.SIze: 1115"},
    };
    for (const auto& c : cases) {
        auto bytes = good;
        c.damage(bytes);
        WriteBytes(dir.File("bad.db"), bytes);
        EXPECT_EQ(OpenError(dir.File("bad.db")), c.message) << c.what;
        EXPECT_EQ(ReadBytes(dir.File("bad.db")), bytes) << c.what;
    }
}

TEST(DataSetFile, ReservedAndPrecisionAreIgnoredAndExtraDataStartIsHonoured) {
    TempFolder dir;
    auto bytes = TwoRecordImage(dir);
    PutI32(bytes, 12, 12345);
    PutI32(bytes, 24 + 37, 99);
    WriteBytes(dir.File("odd.db"), bytes);
    EXPECT_EQ(OpenError(dir.File("odd.db")), "opened");
}

TEST(DataSetFile, ZeroRecordSizeInHeaderIsFilledInOnClose) {
    TempFolder dir;
    CreateDataSetFile(dir.File("z.db"), StationDefs());
    auto bytes = ReadBytes(dir.File("z.db"));
    PutI32(bytes, 8, 0);
    WriteBytes(dir.File("z.db"), bytes);
    TzDataset ds;
    ds.SetFileName(dir.File("z.db"));
    ds.Open();
    EXPECT_TRUE(ds.Eof() && ds.Bof());
    EXPECT_EQ(ds.RecordCount(), 0);
    EXPECT_EQ(I32(ReadBytes(dir.File("z.db")), 8), 0);
    ds.Close();
    EXPECT_EQ(I32(ReadBytes(dir.File("z.db")), 8), 443);
}

TEST(DataSetFile, DeletingMovesTheTailAcrossChunkBoundariesAndCutsTheFile) {
    TempFolder dir;
    // 3000 records of 443 bytes: the tail after the first record spans several 500000-byte
    // chunks.
    TzDataset ds;
    ds.SetFileName(dir.File("big.db"));
    StationFields f = DeclareStationFields(ds);
    ds.Open();
    for (int i = 1; i <= 3000; ++i) {
        ds.Append();
        WriteStation(f, {i, "G", "Title " + std::to_string(i), 1, "u" + std::to_string(i)});
        ds.Post();
    }
    ds.First();
    ds.Delete();
    ds.Close();
    auto b = ReadBytes(dir.File("big.db"));
    ASSERT_EQ(b.size(), 229u + 2999u * 443u);
    for (int i = 0; i < 2999; ++i) ASSERT_EQ(I32(b, 229 + 443 * i), i + 2) << i;
}

}  // namespace
}  // namespace wt

namespace wt {
namespace {

// Faults a fuzzer found (their inputs are seeds of tests/fuzz/dataset_open).
TEST(DataSetFileFuzzFinds, DayNumbersAtTheInt32LimitsBecomeDatesWithoutWrappingAround) {
    struct Case {
        std::int32_t day;
        double expected;
    };
    const Case cases[] = {
        {INT32_MIN, -2147483648.0 - kDateDelta},
        {INT32_MAX, 2147483647.0 - kDateDelta},
        {kDateDelta, 0.0},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(DateTimeFromDayNumber(c.day, 0), c.expected) << c.day;
    EXPECT_DOUBLE_EQ(DateTimeFromDayNumber(INT32_MIN, 43200000), -2147483648.0 - kDateDelta + 0.5);
}

TEST(DataSetFileFuzzFinds, RecordsOfNoBytesCanBeAddedAndSorted) {
    // One field of width 0: every record is empty, and sorting them copies nothing.
    std::vector<unsigned char> file(kHeaderSize + kDescriptorSize, 0);
    std::memcpy(file.data(), "BDS\x1a", 4);
    PutI32(file, 4, 1);
    PutI32(file, 16, 1);
    PutI32(file, 20, static_cast<std::int32_t>(file.size()));
    file[kHeaderSize] = 'A';
    file[kHeaderSize + 28] = static_cast<unsigned char>(FieldType::ftInteger);
    TempFolder dir;
    WriteBytes(dir.File("zero.db"), file);
    DataSetFile data;
    data.Open(dir.File("zero.db"), false);
    ASSERT_EQ(data.RecordSize(), 0);
    data.AppendRecord(nullptr);
    data.AppendRecord(nullptr);
    data.Reorder({1, 0});
    EXPECT_EQ(data.RecordCount(), 2);
    data.Close();
    EXPECT_EQ(ReadBytes(dir.File("zero.db")), file);
}

}  // namespace
}  // namespace wt
