// The Browse commands on a real settings file and catalogue in a temporary program folder.
#include "BrowseCommands.h"
#include "FavoriteGroups.h"
#include "ManageGenresDialog.h"
#include "MainWindow.h"
#include "NetListItem.h"
#include "ScriptedDialogs.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>

#include <deque>

namespace {

using wt::test::Children;
using wt::test::Column;
using wt::test::Station;
using wt::ui::TForm1;
using wt::ui::TNetListItem;

struct BrowseFixture : ::testing::Test {
    wt::test::TempFolder folder;
    wt::test::TempFolder music;
    wt::test::ScriptedDialogs dialogs;
    std::unique_ptr<TForm1> window;
    std::unique_ptr<wt::ui::BrowseCommands> commands;
    std::deque<QString> categories;   // answers of the Favorites dialog
    QStringList offeredGroups;

    void Start(const std::vector<wt::StationRecord>& stations) {
        wt::test::WriteCatalogue(folder.Path(), stations);
        {
            wt::TzIniData settings("cfg.dat", false, folder.Path());
            settings.WriteString("WorkingPath", music.Path() + "Wavetrap Music/");
        }
        window = std::make_unique<TForm1>(dialogs, folder.Path());
        window->zIniData1->WriteString("AdvertSite", "http://127.0.0.1:9");
        commands = std::make_unique<wt::ui::BrowseCommands>(*window, [this](const QStringList& groups) {
            offeredGroups = groups;
            QString answer = categories.empty() ? QString() : categories.front();
            if (!categories.empty()) categories.pop_front();
            return answer;
        });
        commands->Install();
        ASSERT_TRUE(window->FormCreate());
        window->FormActivate();
    }
    void SelectNode(QTreeWidgetItem* node) {
        window->TeTreeView1->setCurrentItem(node);
        window->TeTreeView1Change(node);
    }
    void SelectRow(int index) {
        window->BrowseList->setCurrentItem(window->BrowseList->topLevelItem(index));
    }
    std::string Setting(const char* name) { return window->zIniData1->ReadString(name, ""); }
};

TEST_F(BrowseFixture, AddToFavoritesCreatesGroupsMatchesCaseAndListsRepeats) {
    Start({Station("Pop", "Pop One", 128, "http://p/1"), Station("Pop", "Pop Two", 128, "http://p/2")});
    SelectNode(window->GenresRoot()->child(0));
    SelectRow(1);
    categories = {"Best", "BEST", "", "Best", "wishes"};
    window->Hooks().addToFavorites();
    EXPECT_TRUE(offeredGroups.isEmpty());
    window->Hooks().addToFavorites();  // another letter case: the same group
    EXPECT_EQ(offeredGroups, QStringList{"Best"});
    window->Hooks().addToFavorites();  // cancelled: nothing changes
    window->Hooks().addToFavorites();  // the same station again is listed twice
    EXPECT_EQ(Setting("Favorites"), "Best\r\n");
    EXPECT_EQ(Setting("best"), "2\r\n2\r\n2\r\n");
    EXPECT_EQ(Children(window->FavouritesRoot()), QStringList{"Best"});
    EXPECT_EQ(window->lTotalFavorites->text(), "1");

    window->Hooks().addToFavorites();  // a name of one of the program's own settings
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_TRUE(dialogs.shown[0].text.contains("wishes"));
    EXPECT_EQ(Setting("Wishes"), "");
    EXPECT_EQ(Setting("Favorites"), "Best\r\n");
}

TEST_F(BrowseFixture, DeleteThisFavoriteRemovesOneOccurrenceAndEmptyGroups) {
    Start({Station("Pop", "Pop One", 128, "http://p/1")});
    window->zIniData1->WriteStrings("Favorites", {"Best", "Other"});
    window->zIniData1->WriteStrings("Best", {"1", "1"});
    window->LoadFavorites();
    SelectNode(window->FavouritesRoot()->child(0));
    ASSERT_EQ(window->BrowseList->topLevelItemCount(), 2);

    SelectRow(0);
    dialogs.AnswerNo();
    window->Hooks().deleteFavorite();
    EXPECT_EQ(Setting("Best"), "1\r\n1\r\n");

    dialogs.AnswerYes();
    window->Hooks().deleteFavorite();
    EXPECT_EQ(Setting("Best"), "1\r\n");
    EXPECT_EQ(window->BrowseList->topLevelItemCount(), 1);
    EXPECT_EQ(window->lTotalFavorites->text(), "2");

    SelectRow(0);
    dialogs.AnswerYes();
    window->Hooks().deleteFavorite();
    EXPECT_FALSE(window->zIniData1->ValueExists("Best"));
    EXPECT_EQ(Setting("Favorites"), "Other\r\n");
    EXPECT_EQ(Children(window->FavouritesRoot()), QStringList{"Other"});
    EXPECT_EQ(window->BrowseList->topLevelItemCount(), 0);
    EXPECT_EQ(window->lTotalFavorites->text(), "1");

    SelectNode(window->FavouritesRoot()->child(0));
    dialogs.AnswerYes();
    window->Hooks().deleteFavoriteGroup();
    EXPECT_EQ(Setting("Favorites"), "");
    EXPECT_EQ(window->FavouritesRoot()->childCount(), 0);
    EXPECT_EQ(window->lTotalFavorites->text(), "0");
}

TEST_F(BrowseFixture, DeletingStationsBlacklistsThemAndDropsEmptiedGenres) {
    Start({Station("Jazz", "Jazz One", 128, "http://j/1"), Station("Pop", "Pop One", 128, "http://p/1"),
           Station("Pop", "Pop Two", 128, "http://p/2"), Station("Rock", "Rock One", 96, "http://r/1")});
    EXPECT_EQ(window->lTotalGenres->text(), "3");

    // The last station of a genre: the node goes, the genre figure stays.
    SelectNode(window->GenresRoot()->child(0));
    SelectRow(0);
    dialogs.AnswerYes();
    window->Hooks().deleteStation();
    EXPECT_EQ(Children(window->GenresRoot()), (QStringList{"Pop", "Rock"}));
    EXPECT_EQ(window->lTotalGenres->text(), "3");
    EXPECT_EQ(Setting("BlackList"), "Jazz One\r\n");
    EXPECT_EQ(window->zDataset1->StationCount(), 3);

    // Delete all on adjacent stations deletes and blacklists every one.
    SelectNode(window->GenresRoot()->child(0));
    dialogs.AnswerNo();
    window->Hooks().deleteAll();
    EXPECT_EQ(window->zDataset1->StationCount(), 3);
    dialogs.AnswerYes();
    window->Hooks().deleteAll();
    EXPECT_EQ(window->zDataset1->StationCount(), 1);
    EXPECT_EQ(Setting("BlackList"), "Jazz One\r\nPop One\r\nPop Two\r\n");
    EXPECT_EQ(Children(window->GenresRoot()), (QStringList{"Rock"}));
    EXPECT_EQ(window->lTotalGenres->text(), "1");
}

TEST_F(BrowseFixture, ManageGenresDeletesEditsAndAddsStations) {
    Start({Station("Pop", "Pop One", 128, "http://p/1"), Station("Pop", "Pop Two", 128, "http://p/2"),
           Station("Pop", "Pop Three", 128, "http://p/3"), Station("Rock", "Rock One", 96, "http://r/1")});
    wt::ui::TForm5 dialog(*window, *commands);
    EXPECT_EQ(dialog.TeSComboBox1->currentText(), "Pop");
    ASSERT_EQ(dialog.TeListBox1->count(), 3);

    // Delete the first station, then edit the row that moved up: it is "Pop Two" (ID 2).
    dialog.TeListBox1->setCurrentRow(0);
    dialogs.AnswerYes();
    dialog.TeButton9Click();
    EXPECT_EQ(Setting("BlackList"), "Pop One\r\n");
    ASSERT_EQ(dialog.TeListBox1->count(), 2);
    dialog.TeListBox1->setCurrentRow(0);
    dialog.TeButton11Click();
    EXPECT_EQ(dialog.titleEdit->text(), "Pop Two");
    dialog.TeSComboBox2->setEditText("Rock");
    dialog.TeButton12Click();
    ASSERT_TRUE(window->DataSetGoto(2));
    EXPECT_EQ(window->zDataset1->CurrentStation().Genre, "Rock");
    EXPECT_EQ(dialog.TeListBox1->count(), 1);

    // The editor refuses an empty title; a new station gets the next ID.
    dialog.TeButton10Click();
    dialog.urlEdit->setText("http://j/1");
    dialog.TeButton7Click();
    EXPECT_EQ(window->zDataset1->StationCount(), 3);
    dialog.titleEdit->setText("Jazz One");
    dialog.TeSComboBox2->setEditText("Jazz");
    dialog.TeButton7Click();
    ASSERT_TRUE(window->DataSetGoto(5));
    EXPECT_EQ(window->zDataset1->CurrentStation().Title, "Jazz One");

    // Deleting the genre's last station removes the genre.
    dialog.TeSComboBox1->setCurrentIndex(dialog.TeSComboBox1->findText("Pop"));
    dialog.TeSComboBox1Change();
    ASSERT_EQ(dialog.TeListBox1->count(), 1);
    dialogs.AnswerYes();
    dialog.TeButton9Click();
    EXPECT_EQ(dialog.TeSComboBox1->findText("Pop"), -1);
    EXPECT_FALSE(window->GenreListContains("Pop"));
}

}  // namespace
