// A user records stations: from a genre to song files on disk, many at once, stopped from the
// toolbar and the tray, into a folder of the user's choice, and the program closed mid-rip.
#include "ProgramSession.h"

#include "IcyTestServer.h"

#include <QAbstractItemModel>
#include <QLabel>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace wt::acceptance {
namespace {

namespace fs = std::filesystem;

enum Column { kCaption, kBitRate, kStatus, kRipped, kSong, kKb };

// Every text a column of the Downloading list has shown, in order, without repeats.
class ColumnHistory {
public:
    ColumnHistory(QTreeWidget* list, int column) {
        QObject::connect(list->model(), &QAbstractItemModel::dataChanged, list,
                         [this, list, column](const QModelIndex& from, const QModelIndex& to) {
                             for (int r = from.row(); r <= to.row(); ++r) {
                                 if (column < from.column() || column > to.column()) continue;
                                 QString text = list->topLevelItem(r)->text(column);
                                 if (texts.isEmpty() || texts.back() != text) texts << text;
                             }
                         });
    }
    QStringList texts;
};

TEST(RipStory, GenreThenStationThenDownloadWritesEachSongAndStopRippingEndsIt) {
    test::IcyTestServer station({{"First Song", 3}, {"Second Song", 3}, {"Third", 3}}, 4096, 40);
    ProgramSession session({Station("Rock", "Rock FM", 128, station.Url()),
                             Station("Jazz", "Jazz Cafe", 64, "http://127.0.0.1:9/")});
    ASSERT_NO_FATAL_FAILURE(session.Start());
    ui::TForm1& w = session.Window();

    ClickItem(w.TeTreeView1, FindItem(w.TeTreeView1, "Rock"));
    ASSERT_TRUE(WaitFor([&] { return ColumnTexts(w.BrowseList, 0) == QStringList{"Rock FM"}; }));
    EXPECT_EQ(ColumnTexts(w.BrowseList, 1), QStringList{"128"});
    ClickItem(w.BrowseList, w.BrowseList->topLevelItem(0));

    ColumnHistory status(w.TeListView1, kStatus), kb(w.TeListView1, kKb);
    Click(&w, "Download this station");
    EXPECT_EQ(w.TeSPageControl1->tabText(w.TeSPageControl1->currentIndex()), "Downloading");
    ASSERT_EQ(w.TeListView1->topLevelItemCount(), 1);
    QTreeWidgetItem* row = w.TeListView1->topLevelItem(0);
    EXPECT_EQ(row->text(kCaption), "Rock FM");
    EXPECT_EQ(row->text(kBitRate), "128");
    ASSERT_TRUE(WaitFor([&] { return row->text(kSong) == "Third"; }, 20000));
    EXPECT_EQ(row->text(kRipped), "2");
    EXPECT_EQ(w.lTotalRippedSongs->text(), "2");
    ASSERT_GE(status.texts.size(), 2);
    EXPECT_EQ(status.texts.front(), "Connecting...");
    EXPECT_TRUE(status.texts.contains("Ripping"));
    EXPECT_GE(kb.texts.size(), 3) << "the size grows while a song is written";

    const std::string rock = session.MusicFolder() + "Rock/";
    EXPECT_EQ(ReadWhole(rock + "First Song.mp3"), station.Song(0));
    EXPECT_EQ(ReadWhole(rock + "Second Song.mp3"), station.Song(1));

    // Asking again for a station already being ripped says so.
    ClickTab(w.TeSPageControl1, "Browse");
    ClickItem(w.BrowseList, w.BrowseList->topLevelItem(0));
    session.answers.ThenPress("OK");
    Click(&w, "Download this station");
    ASSERT_TRUE(WaitFor([&] { return session.answers.AllAnswered(); }));
    EXPECT_EQ(session.answers.Seen(), QStringList{"This Radio Station is already in ripping list."});

    ClickTab(w.TeSPageControl1, "Downloading");
    ClickItem(w.TeListView1, row);
    Click(&w, "Stop ripping");
    EXPECT_EQ(w.TeListView1->topLevelItemCount(), 0);
    ASSERT_TRUE(WaitFor([&] { return w.Radio->Channels().empty(); }));
    // What was received of the song in progress stays.
    EXPECT_FALSE(ReadWhole(rock + "Third.mp3").empty());
}

TEST(RipStory, DownloadAllStartsEveryStationOfTheGenreStopAllAndTheTrayCancelThem) {
    test::IcyTestServer a({{"A1", 50}}, 2048, 40), b({{"B1", 50}}, 2048, 40), c({{"C1", 50}}, 2048, 40);
    ProgramSession session({Station("Pop", "Pop One", 128, a.Url()),
                             Station("Pop", "Pop Two", 128, b.Url()),
                             Station("Pop", "Pop Three", 96, c.Url())});
    ASSERT_NO_FATAL_FAILURE(session.Start());
    ui::TForm1& w = session.Window();
    ClickItem(w.TeTreeView1, FindItem(w.TeTreeView1, "Pop"));
    ASSERT_TRUE(WaitFor([&] { return w.BrowseList->topLevelItemCount() == 3; }));

    Click(&w, "Download all");
    EXPECT_EQ(ColumnTexts(w.TeListView1, kCaption), (QStringList{"Pop One", "Pop Two", "Pop Three"}));
    ASSERT_TRUE(WaitFor([&] { return ColumnTexts(w.TeListView1, kSong) == QStringList{"A1", "B1", "C1"}; }, 20000));
    Click(&w, "Stop all stations");
    EXPECT_EQ(w.TeListView1->topLevelItemCount(), 0);
    ASSERT_TRUE(WaitFor([&] { return w.Radio->Channels().empty(); }));

    // Again, and this time from the tray's menu.
    ClickTab(w.TeSPageControl1, "Browse");
    Click(&w, "Download all");
    ASSERT_TRUE(WaitFor([&] { return w.Radio->Channels().size() == 3; }));
    PickFromMenu(w.Tray->contextMenu(), "Cancel All Rips");
    ASSERT_TRUE(WaitFor([&] { return w.TeListView1->topLevelItemCount() == 0 && w.Radio->Channels().empty(); }));
    for (const char* song : {"A1", "B1", "C1"})
        EXPECT_TRUE(fs::exists(session.MusicFolder() + "Pop/" + song + ".mp3")) << song;
}

TEST(RipStory, TwoStationsOfAGenrePlayingTheSameSongBothRecordIt) {
    test::IcyTestServer a({{"Same Song", 3}, {"After A", 100}}, 2048, 30);
    test::IcyTestServer b({{"Same Song", 3}, {"After B", 100}}, 2048, 30);
    ProgramSession session({Station("Pop", "Pop A", 128, a.Url()), Station("Pop", "Pop B", 128, b.Url())});
    ASSERT_NO_FATAL_FAILURE(session.Start());
    ui::TForm1& w = session.Window();
    ClickItem(w.TeTreeView1, FindItem(w.TeTreeView1, "Pop"));
    ASSERT_TRUE(WaitFor([&] { return w.BrowseList->topLevelItemCount() == 2; }));
    Click(&w, "Download all");
    ASSERT_TRUE(WaitFor([&] { return ColumnTexts(w.TeListView1, kSong) == QStringList{"After A", "After B"}; }, 20000));
    EXPECT_EQ(ColumnTexts(w.TeListView1, kStatus), (QStringList{"Ripping", "Ripping"}));
    const std::string pop = session.MusicFolder() + "Pop/";
    std::set<std::string> songs{ReadWhole(pop + "Same Song.mp3"), ReadWhole(pop + "Same Song (2).mp3")};
    EXPECT_EQ(songs, (std::set<std::string>{a.Song(0), b.Song(0)}));
}

TEST(RipStory, SetOutputFolderSendsLaterRipsToTheNewFolder) {
    test::IcyTestServer station({{"Song", 2}, {"Next", 2}}, 2048, 30);
    ProgramSession session({Station("Rock", "Rock FM", 128, station.Url())});
    ASSERT_NO_FATAL_FAILURE(session.Start());
    ui::TForm1& w = session.Window();
    test::TempFolder elsewhere;

    session.answers.ThenChooseFolder(elsewhere.Path());
    Click(&w, "Set Output Folder");
    ASSERT_TRUE(WaitFor([&] { return session.answers.AllAnswered(); }));
    const std::string newRoot = elsewhere.Path() + "Wavetrap Music/";
    ASSERT_TRUE(WaitFor([&] { return fs::is_directory(newRoot + "Rock"); }));
    EXPECT_TRUE(fs::is_directory(newRoot + "Wish List"));

    ClickItem(w.TeTreeView1, FindItem(w.TeTreeView1, "Rock"));
    ASSERT_TRUE(WaitFor([&] { return w.BrowseList->topLevelItemCount() == 1; }));
    DoubleClickItem(w.BrowseList, w.BrowseList->topLevelItem(0));  // double click downloads
    ASSERT_EQ(w.TeListView1->topLevelItemCount(), 1);
    ASSERT_TRUE(WaitFor([&] { return w.TeListView1->topLevelItem(0)->text(kSong) == "Next"; }, 15000));
    EXPECT_EQ(ReadWhole(newRoot + "Rock/Song.mp3"), station.Song(0));
    EXPECT_FALSE(fs::exists(session.MusicFolder() + "Rock/Song.mp3"));
}

TEST(RipStory, ClosingWhileRippingAsksFirstAndYesEndsTheRipsKeepingTheFiles) {
    test::IcyTestServer station({{"Long Song", 200}}, 2048, 30);
    ProgramSession session({Station("Rock", "Rock FM", 128, station.Url())});
    ASSERT_NO_FATAL_FAILURE(session.Start());
    ui::TForm1& w = session.Window();
    ASSERT_NO_FATAL_FAILURE(PickStation(w, "Rock", "Rock FM"));
    Click(&w, "Download this station");
    const std::string file = session.MusicFolder() + "Rock/Long Song.mp3";
    ASSERT_TRUE(WaitFor([&] { return fs::exists(file) && fs::file_size(file) > 4096; }, 15000));

    // No: everything goes on.
    session.answers.ThenPress("No");
    PickFromMenu(w.Tray->contextMenu(), "Exit");
    ASSERT_TRUE(WaitFor([&] { return session.answers.AllAnswered(); }));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.TeListView1->topLevelItem(0)->text(kStatus), "Ripping");

    session.answers.ThenPress("Yes");
    PickFromMenu(w.Tray->contextMenu(), "Exit");
    ASSERT_TRUE(WaitFor([&] { return !w.isVisible(); }));
    EXPECT_EQ(session.answers.Seen(),
              (QStringList{"Are you sure you want to quit Wavetrap?", "Are you sure you want to quit Wavetrap?"}));
    EXPECT_FALSE(w.Radio) << "the rips ended with the close";
    EXPECT_GT(fs::file_size(file), 4096u);
}

}  // namespace
}  // namespace wt::acceptance
