#include <gtest/gtest.h>

#include <fstream>

#include "DirectoryFixtures.h"
#include "ImportStationsFile.h"
#include "ScriptedDialogs.h"
#include "TempFolder.h"
#include "catalogue/StationCatalogue.h"

namespace wt {
namespace {

class ImportStationsFileTest : public ::testing::Test {
protected:
    ImportStationsFileTest() : catalogue(folder.Path()) { catalogue.Open(); }
    QString Write(const std::string& name, const std::string& content) {
        std::ofstream((folder / name).string(), std::ios::binary) << content;
        return QString::fromStdString((folder / name).string());
    }
    std::vector<std::string> Genres() { return catalogue.Genres(); }

    test::TempFolder folder;
    StationCatalogue catalogue;
    test::ScriptedDialogs dialogs;
};

TEST_F(ImportStationsFileTest, PlaylistStationsGoUnderTheFileNameAndTheSummaryIsShown) {
    const QString path = Write("Morning Radios.m3u", "#EXTM3U\n#EXTINF:-1,One\nhttp://127.0.0.1/one\n"
                                                     "#EXTINF:-1,Two\nhttp://127.0.0.1/two.m3u8\n");
    EXPECT_EQ(ui::ImportStationsFile(nullptr, path, catalogue, {}, dialogs), 1);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, ui::MessageKind::Information);
    EXPECT_EQ(dialogs.shown[0].caption, "Import Stations");
    EXPECT_EQ(dialogs.shown[0].text,
              "Added 1 of 2 stations.\rRefused 1 station: 1 HLS stream.\r"
              "Refused \"Two\": an HLS stream, which cannot be recorded.");
    EXPECT_EQ(Genres(), (std::vector<std::string>{"Morning Radios"}));
}

TEST_F(ImportStationsFileTest, ExportStationsKeepTheirFirstTagsAndBlacklistedTitlesStayOut) {
    EXPECT_EQ(ui::ImportStationsFile(nullptr, QString::fromStdString(testing::FixturePath("stations.json")), catalogue,
                                     {"Secure"}, dialogs),
              6);
    EXPECT_EQ(Genres(), (std::vector<std::string>{"ambient", "Imported", "jazz", "pop", "rock"}));
    EXPECT_TRUE(dialogs.Messages().front().contains("Skipped 1 station on the blacklist."));
}

TEST_F(ImportStationsFileTest, WhatIsNoListIsRefusedWithItsReason) {
    // Content that says nothing is read by its extension: every line of this .m3u8 is refused.
    const QString junk = Write("junk.m3u8", "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(ui::ImportStationsFile(nullptr, junk, catalogue, {}, dialogs), 0);
    const QString broken = Write("cut.json", "[{\"name\": \"A\", \"url\": \"http://127.0.0.1/a\"}");
    EXPECT_EQ(ui::ImportStationsFile(nullptr, broken, catalogue, {}, dialogs), 0);
    const QString missing = QString::fromStdString((folder / "gone.pls").string());
    EXPECT_EQ(ui::ImportStationsFile(nullptr, missing, catalogue, {}, dialogs), 0);
    ASSERT_EQ(dialogs.shown.size(), 3u);
    EXPECT_EQ(dialogs.shown[0].kind, ui::MessageKind::Information);
    EXPECT_TRUE(dialogs.shown[0].text.startsWith("Added 0 of 2 stations.\rRefused 2 stations: 2 without a stream address."));
    EXPECT_EQ(dialogs.shown[1].kind, ui::MessageKind::Error);
    EXPECT_EQ(dialogs.shown[1].text, "The station list is not valid JSON.");
    EXPECT_EQ(dialogs.shown[2].kind, ui::MessageKind::Error);
    EXPECT_EQ(dialogs.shown[2].text, "Cannot open \"" + missing + "\": No such file or directory.");
    EXPECT_EQ(catalogue.StationCount(), 0);
}

}  // namespace
}  // namespace wt
