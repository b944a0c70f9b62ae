// The data set engine: opening, the cursor, field values, editing and the refusals.
#include <gtest/gtest.h>

#include <cstring>

#include "TempFolder.h"
#include "catalogue/StationCatalogue.h"
#include "catalogue/zDataset.h"

namespace wt {
namespace {

using testing::TempFolder;

template <typename F>
std::string ErrorOf(F&& f) {
    try {
        f();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "no error";
}

// An unordered station data set over a file in a temporary folder.
struct Stations {
    explicit Stations(const TempFolder& dir, const char* file = "s.db") : ds("zTest") {
        ds.SetProgramFolder(dir.Path());
        ds.SetFileName(file);
        f = DeclareStationFields(ds);
    }
    void Add(int id, const std::string& genre = "G", const std::string& url = "") {
        ds.Append();
        WriteStation(f, {id, genre, "T" + std::to_string(id), 0, url.empty() ? "u" + std::to_string(id) : url});
        ds.Post();
    }
    std::vector<int> Ids() {
        std::vector<int> ids;
        for (ds.First(); !ds.Eof(); ds.Next()) ids.push_back(f.ID->AsInteger());
        return ids;
    }
    TzDataset ds;
    StationFields f;
};

TEST(Dataset, MissingFileIsCreatedAndOpensEmpty) {
    TempFolder dir;
    Stations s(dir);
    s.ds.Open();
    EXPECT_TRUE(std::filesystem::exists(dir.File("s.db")));
    EXPECT_TRUE(s.ds.Eof());
    EXPECT_TRUE(s.ds.Bof());
    EXPECT_TRUE(s.ds.IsEmpty());
    EXPECT_EQ(s.ds.RecordCount(), 0);
    EXPECT_EQ(s.f.Title->AsString(), "");
}

TEST(Dataset, CursorWalksAndStaysOnTheLastRecordAtEof) {
    TempFolder dir;
    Stations s(dir);
    s.ds.Open();
    for (int id : {1, 2, 3}) s.Add(id);
    s.ds.First();
    EXPECT_TRUE(s.ds.Bof());
    EXPECT_FALSE(s.ds.Eof());
    EXPECT_EQ(s.ds.RecNo(), 1);
    s.ds.Next();
    s.ds.Next();
    s.ds.Next();
    EXPECT_TRUE(s.ds.Eof());
    EXPECT_EQ(s.f.ID->AsInteger(), 3);
    s.ds.Prior();
    EXPECT_FALSE(s.ds.Eof());
    EXPECT_EQ(s.f.ID->AsInteger(), 2);
    s.ds.SetRecNo(3);
    EXPECT_EQ(s.f.ID->AsInteger(), 3);
    s.ds.SetRecNo(9);  // out of range: ignored
    EXPECT_EQ(s.ds.RecNo(), 3);
    s.ds.Last();
    EXPECT_TRUE(s.ds.Eof());
}

TEST(Dataset, RecordsSurviveReopening) {
    TempFolder dir;
    {
        Stations s(dir);
        s.ds.Open();
        s.Add(7, "Jazz", "http://x/");
    }
    Stations s(dir);
    s.ds.Open();
    EXPECT_EQ(s.ds.RecordCount(), 1);
    StationRecord r = ReadStation(s.f);
    EXPECT_EQ(r.ID, 7);
    EXPECT_EQ(r.Genre, "Jazz");
    EXPECT_EQ(r.URL, "http://x/");
}

TEST(Dataset, ZeroReadsAsEmptyUnlessShowZero) {
    TempFolder dir;
    Stations s(dir);
    s.ds.Open();
    s.Add(0);
    s.ds.First();
    EXPECT_EQ(s.f.ID->AsString(), "");
    EXPECT_EQ(s.f.ID->AsInteger(), 0);
    EXPECT_TRUE(s.f.ID->IsNull());
    s.ds.SetShowZero(true);
    EXPECT_EQ(s.f.ID->AsString(), "0");
    EXPECT_FALSE(s.f.ID->IsNull());
}

TEST(Dataset, TextIsCutToItsSizeOnACharacterBoundary) {
    TempFolder dir;
    Stations s(dir);
    s.ds.Open();
    s.ds.Append();
    s.f.Genre->SetAsString(std::string(30, 'x'));
    EXPECT_EQ(s.f.Genre->AsString(), std::string(25, 'x'));
    s.f.Genre->SetAsString(std::string(24, 'x') + "\xC3\xA9");  // 'é' would end at byte 26
    EXPECT_EQ(s.f.Genre->AsString(), std::string(24, 'x'));
    s.ds.Cancel();
}

TEST(Dataset, SingleByteTextFromOldFilesReadsAsUtf8) {
    TempFolder dir;
    Stations s(dir);
    s.ds.Open();
    s.ds.Append();
    s.f.Title->SetAsString("Caf\xE9");  // Windows-1252 bytes as an old file holds them
    s.ds.Post();
    EXPECT_EQ(s.f.Title->AsString(), "Caf\xC3\xA9");
}

TEST(Dataset, InsertGoesBeforeTheCurrentRecordAndAppendLast) {
    TempFolder dir;
    Stations s(dir);
    s.ds.Open();
    for (int id : {1, 2, 3}) s.Add(id);
    s.ds.SetRecNo(2);
    s.ds.Insert();
    s.f.ID->SetAsInteger(9);
    s.ds.Post();
    EXPECT_EQ(s.f.ID->AsInteger(), 9);
    EXPECT_EQ(s.ds.RecNo(), 2);
    s.ds.Append();
    s.f.ID->SetAsInteger(8);
    s.ds.Post();
    EXPECT_EQ(s.Ids(), (std::vector<int>{1, 9, 2, 3, 8}));
}

TEST(Dataset, EditWritesInPlaceAndCancelDropsTheChange) {
    TempFolder dir;
    Stations s(dir);
    s.ds.Open();
    for (int id : {1, 2}) s.Add(id);
    s.ds.First();
    s.ds.Edit();
    s.f.Title->SetAsString("changed");
    s.ds.Post();
    s.ds.Last();
    s.ds.Edit();
    s.f.Title->SetAsString("dropped");
    s.ds.Cancel();
    s.ds.First();
    EXPECT_EQ(s.f.Title->AsString(), "changed");
    s.ds.Next();
    EXPECT_EQ(s.f.Title->AsString(), "T2");
}

TEST(Dataset, DeletingMakesTheFollowingOrNewLastRecordCurrent) {
    TempFolder dir;
    Stations s(dir);
    s.ds.Open();
    for (int id : {1, 2, 3}) s.Add(id);
    s.ds.First();
    s.ds.Delete();
    EXPECT_EQ(s.f.ID->AsInteger(), 2);
    s.ds.Last();
    s.ds.Delete();
    EXPECT_EQ(s.f.ID->AsInteger(), 2);
    EXPECT_FALSE(s.ds.Eof());
    s.ds.Delete();
    EXPECT_TRUE(s.ds.IsEmpty());
    EXPECT_TRUE(s.ds.Eof() && s.ds.Bof());
    EXPECT_EQ(std::filesystem::file_size(dir.File("s.db")), 229u);
    EXPECT_EQ(ErrorOf([&] { s.ds.Delete(); }), "zTest: Cannot perform this operation on an empty dataset");
}

TEST(Dataset, DeletingAGenreWhileWalkingVisitsEveryStationOnce) {
    TempFolder dir;
    Stations s(dir);
    s.ds.Open();
    s.Add(1, "Rock");
    s.Add(2, "Rock");
    s.Add(3, "Pop");
    s.Add(4, "Rock");
    s.ds.First();
    while (!s.ds.Eof()) {
        if (s.f.Genre->AsString() == "Rock") s.ds.Delete();
        else s.ds.Next();
    }
    EXPECT_EQ(s.Ids(), (std::vector<int>{3}));
}

TEST(Dataset, LocateSearchesFromTheCurrentRecordFindFirstValueFromTheFirst) {
    TempFolder dir;
    Stations s(dir);
    s.ds.Open();
    for (int id : {1, 2, 3, 4}) s.Add(id, "G", id == 1 ? "http://Same/" : "u" + std::to_string(id));
    s.ds.SetRecNo(3);
    EXPECT_FALSE(s.ds.Locate("URL", {"http://Same/"}));
    EXPECT_EQ(s.ds.RecNo(), 3);
    EXPECT_TRUE(s.ds.FindFirstValue(*s.f.URL, "http://Same/"));
    EXPECT_EQ(s.ds.RecNo(), 1);
    s.ds.SetRecNo(4);
    EXPECT_FALSE(s.ds.FindFirstValue(*s.f.URL, "http://same/"));  // case-sensitive
    EXPECT_EQ(s.ds.RecNo(), 4);  // the cursor returns
    EXPECT_TRUE(s.ds.FindFirstValue(*s.f.URL, "http://same/", {.CaseInsensitive = true}));
    EXPECT_TRUE(s.ds.FindFirstValue(*s.f.URL, "Same", {.PartialKey = true}));
    EXPECT_TRUE(s.ds.FindFirstValues({s.f.ID, s.f.Genre}, {3, "G"}));
    EXPECT_EQ(s.ds.RecNo(), 3);
    EXPECT_EQ(ErrorOf([&] { s.ds.FindFirstValues({s.f.ID, s.f.Genre}, {3}); }), "Wrong parameters count: 2-1");
}

TEST(Dataset, RefusalsCarryTheirTexts) {
    TempFolder dir;
    TzDataset unnamed;
    EXPECT_EQ(ErrorOf([&] { unnamed.Open(); }), "File name not set.");

    Stations s(dir);
    s.ds.Open();
    s.Add(1);
    EXPECT_EQ(ErrorOf([&] { s.ds.FieldByName("Nope"); }), "zTest: Field 'Nope' not found");
    EXPECT_EQ(ErrorOf([&] { s.f.Title->SetAsString("x"); }), "zTest: Dataset not in edit or insert mode");
    EXPECT_EQ(ErrorOf([&] { s.ds.Post(); }), "zTest: Dataset not in edit or insert mode");
    EXPECT_EQ(ErrorOf([&] { s.ds.GotoBookmark(nullptr); }), "Bookmark -1 not found");
    s.ds.Edit();
    EXPECT_EQ(ErrorOf([&] { s.f.BitRate->SetAsInteger(40000); }),
              "40000 is not a valid value for field 'BitRate'. The allowed range is -32768 to 32767");
    s.ds.Cancel();

    s.ds.SetReadOnly(true);
    const std::string readOnly = "Can't modify readonly dataset: s.db";
    EXPECT_EQ(ErrorOf([&] { s.ds.Insert(); }), readOnly);
    EXPECT_EQ(ErrorOf([&] { s.ds.Append(); }), readOnly);
    EXPECT_EQ(ErrorOf([&] { s.ds.Edit(); }), readOnly);
    EXPECT_EQ(ErrorOf([&] { s.ds.Delete(); }), readOnly);
    EXPECT_EQ(ErrorOf([&] { s.ds.MoveRecord(1, 1); }), readOnly);
    EXPECT_EQ(ErrorOf([&] { s.ds.SetIndexFields("Title"); }), "Dataset must be opened for read/write to perform sort.");
    EXPECT_EQ(s.ds.RecordCount(), 1);
}

TEST(Dataset, DeclaredFieldsMustMatchTheFile) {
    TempFolder dir;
    {
        Stations s(dir);
        s.ds.Open();
    }
    TzDataset missing("zUpdate");
    missing.SetProgramFolder(dir.Path());
    missing.SetFileName("s.db");
    missing.AddField("Country", FieldType::ftString, 20);
    EXPECT_EQ(ErrorOf([&] { missing.Open(); }), "zUpdate: Field 'Country' not found");
    EXPECT_FALSE(missing.Active());

    TzDataset mismatch("zUpdate");
    mismatch.SetProgramFolder(dir.Path());
    mismatch.SetFileName("s.db");
    mismatch.AddField("BitRate", FieldType::ftInteger);
    EXPECT_EQ(ErrorOf([&] { mismatch.Open(); }),
              "zUpdate: Type mismatch for field 'BitRate', expecting: Integer actual: SmallInt");

    TzDataset generic;  // no declared fields: one per descriptor
    generic.SetFileName(dir.File("s.db"));
    generic.Open();
    ASSERT_EQ(generic.FieldCount(), 5);
    EXPECT_EQ(generic.Fields(4).FieldName(), "URL");
    EXPECT_EQ(generic.Fields(2).Size(), 200);
}

TEST(Dataset, TemporalDataSetGetsANameAndDeletesItsFileOnClose) {
    TzDataset ds;
    ds.SetTemporal(true);
    ds.SetTempFileExt("bds");
    ds.FieldDefs = {{"N", FieldType::ftInteger, 0, 0}};
    ds.Open();
    const std::string name = ds.FileName();
    EXPECT_NE(name.find("/Tmp"), std::string::npos);
    EXPECT_EQ(name.substr(name.size() - 4), ".bds");
    EXPECT_TRUE(std::filesystem::exists(name));
    ds.Close();
    EXPECT_FALSE(std::filesystem::exists(name));
}

TEST(Dataset, TypedFieldsRoundTrip) {
    TempFolder dir;
    TzDataset ds;
    ds.SetFileName(dir.File("t.db"));
    ds.FieldDefs = {{"W", FieldType::ftWord, 0, 0},      {"B", FieldType::ftBoolean, 0, 0},
                    {"F", FieldType::ftFloat, 0, 0},     {"C", FieldType::ftCurrency, 0, 0},
                    {"D", FieldType::ftDate, 0, 0},      {"T", FieldType::ftTime, 0, 0},
                    {"DT", FieldType::ftDateTime, 0, 0}, {"L", FieldType::ftLargeint, 0, 0}};
    ds.Open();
    ds.Append();
    ds.FieldByName("W").SetAsInteger(65535);
    ds.FieldByName("B").SetAsBoolean(true);
    ds.FieldByName("F").SetAsFloat(2.5);
    ds.FieldByName("C").SetAsString("1.25");
    ds.FieldByName("D").SetAsString("1899-12-30");
    ds.FieldByName("T").SetAsString("12:30:15");
    ds.FieldByName("DT").SetAsString("2024-02-29 23:59:59");
    ds.FieldByName("L").SetAsLargeInt(1LL << 40);
    ds.Post();
    ds.Close();
    ds.Open();
    EXPECT_EQ(ds.FieldByName("W").AsInteger(), 65535);
    EXPECT_EQ(ds.FieldByName("B").AsString(), "True");
    EXPECT_EQ(ds.FieldByName("F").AsString(), "2.5");
    EXPECT_DOUBLE_EQ(ds.FieldByName("C").AsCurrency(), 1.25);
    EXPECT_EQ(ds.FieldByName("D").AsString(), "1899-12-30");
    EXPECT_EQ(ds.FieldByName("T").AsString(), "12:30:15");
    EXPECT_EQ(ds.FieldByName("DT").AsString(), "2024-02-29 23:59:59");
    EXPECT_EQ(ds.FieldByName("L").AsLargeInt(), 1LL << 40);
    // The stored encodings: 1899-12-30 is day 693594; 12:30:15 is 45015000 ms.
    const unsigned char* r = ds.StoredRecord(0);
    std::int32_t day, ms;
    std::memcpy(&day, r + 2 + 2 + 8 + 8, 4);
    std::memcpy(&ms, r + 2 + 2 + 8 + 8 + 4, 4);
    EXPECT_EQ(day, 693594);
    EXPECT_EQ(ms, 45015000);
}

TEST(Dataset, EventsFireAroundChanges) {
    TempFolder dir;
    Stations s(dir);
    std::vector<std::string> log;
    auto note = [&log](const char* what) { return [&log, what](TzDataset& d) { log.push_back(what + std::to_string(d.RecordCount())); }; };
    s.ds.AfterOpen = note("open");
    s.ds.AfterInsert = note("insert");
    s.ds.AfterPost = note("post");
    s.ds.AfterDelete = note("delete");
    s.ds.Open();
    s.Add(1);
    s.ds.Delete();
    EXPECT_EQ(log, (std::vector<std::string>{"open0", "insert0", "post1", "delete0"}));
}

TEST(Dataset, PostErrorHandlerCanAbort) {
    TempFolder dir;
    Stations s(dir);
    s.ds.Open();
    s.ds.BeforePost = [](TzDataset&) { throw EzDatasetError("no"); };
    int calls = 0;
    s.ds.OnPostError = [&](TzDataset&, const std::exception& e, DataAction& action) {
        ++calls;
        EXPECT_STREQ(e.what(), "no");
        action = DataAction::daAbort;
    };
    s.ds.Append();
    s.ds.Post();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(s.ds.State(), DataSetState::dsInsert);
    s.ds.Cancel();
    EXPECT_EQ(s.ds.RecordCount(), 0);
}

}  // namespace
}  // namespace wt
