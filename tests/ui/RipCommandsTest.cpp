// From the Browse list to song files: a catalogue station that points at a scripted loopback
// station is downloaded through the window's command, shown in the Downloading list, stopped.
#include "IcyTestServer.h"
#include "MainWindow.h"
#include "NetListItem.h"
#include "ScriptedDialogs.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTabWidget>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using wt::test::Station;
using wt::ui::TForm1;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(RipCommands, DownloadShowsTheRipAndWritesSongsUnderTheGenreFolder) {
    wt::test::IcyTestServer station({{"First Song", 2}, {"Second Song", 2}, {"Third", 1}}, 2048, 30);
    wt::test::TempFolder folder, music;
    wt::test::WriteCatalogue(folder.Path(), {Station("Rock", "Rock FM", 128, station.Url())});
    {
        wt::TzIniData settings("cfg.dat", false, folder.Path());
        settings.WriteString("WorkingPath", music.Path() + "Wavetrap Music/");
        settings.WriteString("AdvertSite", "http://127.0.0.1:9");
    }
    wt::test::ScriptedDialogs dialogs;
    auto window = std::make_unique<TForm1>(dialogs, folder.Path());
    ASSERT_TRUE(window->FormCreate());
    window->FormActivate();
    window->TeTreeView1Change(window->GenresRoot()->child(0));
    window->BrowseList->setCurrentItem(window->BrowseList->topLevelItem(0));

    window->CustomItem1Click();
    EXPECT_EQ(window->TeSPageControl1->currentIndex(), 1);
    ASSERT_EQ(window->TeListView1->topLevelItemCount(), 1);
    QTreeWidgetItem* row = window->TeListView1->topLevelItem(0);
    ASSERT_TRUE(wt::test::PumpUntil([&] { return row->text(4) == "Third"; }, 15000));
    EXPECT_EQ(row->text(0), "Rock FM");
    EXPECT_EQ(row->text(2), "Ripping");
    EXPECT_EQ(row->text(3), "2");
    EXPECT_EQ(window->lTotalRippedSongs->text(), "2");

    window->CustomItem1Click();  // the same station again
    EXPECT_EQ(dialogs.shown.back().text, "This Radio Station is already in ripping list.");

    window->TeListView1->setCurrentItem(row);
    window->TeSpeedButton9Click();
    EXPECT_EQ(window->TeListView1->topLevelItemCount(), 0);
    ASSERT_TRUE(wt::test::PumpUntil([&] { return window->Radio->Channels().empty(); }, 5000));

    fs::path genre = fs::path(music.Path()) / "Wavetrap Music" / "Rock";
    EXPECT_EQ(ReadFile(genre / "First Song.mp3"), station.Song(0));
    EXPECT_EQ(ReadFile(genre / "Second Song.mp3"), station.Song(1));
    EXPECT_TRUE(fs::exists(genre / "Third.mp3"));
    wt::TzIniData settings("cfg.dat", true, folder.Path());
    EXPECT_EQ(settings.ReadInteger("RippedSongs", 0), 2);
}

}  // namespace

namespace {

TEST(RipCommands, AWishHitRipsIntoTheWishFolderAndKeepsOnlyWishedSongs) {
    wt::test::IcyTestServer station({{"THE BEATLES - HELP", 2}, {"Someone Else", 2}}, 2048, 10);
    wt::test::TempFolder folder, music;
    wt::test::WriteCatalogue(folder.Path(), {});
    {
        wt::TzIniData settings("cfg.dat", false, folder.Path());
        settings.WriteString("WorkingPath", music.Path() + "Wavetrap Music/");
        settings.WriteString("AdvertSite", "http://127.0.0.1:9");
        settings.WriteStrings("Wishes", {"beatles"});
    }
    wt::test::ScriptedDialogs dialogs;
    auto window = std::make_unique<wt::ui::TForm1>(dialogs, folder.Path());
    ASSERT_TRUE(window->FormCreate());
    window->FormActivate();

    wt::TWishInfo hit{station.Url(), "THE BEATLES - HELP", "Rock", "Beatles Radio"};
    window->Radio_WishFound(hit);
    window->Radio_WishFound(hit);  // the row is listed already
    ASSERT_EQ(window->TeListView1->topLevelItemCount(), 1);
    QTreeWidgetItem* row = window->TeListView1->topLevelItem(0);
    EXPECT_EQ(row->text(1), "Wish List");
    ASSERT_TRUE(wt::test::PumpUntil([&] { return row->text(2) == "Stopped"; }, 15000));

    fs::path wishes = fs::path(music.Path()) / "Wavetrap Music" / "Wish List";
    EXPECT_EQ(ReadFile(wishes / "THE BEATLES - HELP.mp3"), station.Song(0));
    EXPECT_FALSE(fs::exists(wishes / "Someone Else.mp3"));
    EXPECT_EQ(window->lTotalRippedWishedSongs->text(), "1");
}

}  // namespace
