// Start-up, the first activation, the output folder tree and the close question, with a real
// settings file and catalogue in a temporary program folder.
#include "MainWindow.h"
#include "ScriptedDialogs.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using wt::test::Children;
using wt::test::Column;
using wt::test::ShownDialog;
using wt::test::Station;
using wt::ui::TForm1;

struct StartupFixture : ::testing::Test {
    wt::test::TempFolder folder;
    wt::test::TempFolder music;
    wt::test::ScriptedDialogs dialogs;
    std::unique_ptr<TForm1> window;

    void Open() {
        window = std::make_unique<TForm1>(dialogs, folder.Path());
        // No network here: the advertisement goes to a closed local port.
        window->zIniData1->WriteString("AdvertSite", "http://127.0.0.1:9");
    }
    wt::TzIniData Settings() { return wt::TzIniData("cfg.dat", false, folder.Path()); }
};

TEST_F(StartupFixture, FreshInstallAsksForTheFolderAndBuildsTheTree) {
    wt::test::WriteCatalogue(folder.Path(),
                             {Station("Rock", "Rock One", 128, "http://a/1"),
                              Station("jazz", "Jazz One", 64, "http://a/2"),
                              Station("Jazz", "Jazz Two", 0, "http://a/3"),
                              Station("", "No Genre", 32, "http://a/4")});
    Open();
    ASSERT_TRUE(window->FormCreate());
    dialogs.ChooseFolderNext(QString::fromStdString(music.Path() + "Rips"));
    window->FormActivate();

    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].type, ShownDialog::Type::Folder);
    EXPECT_EQ(dialogs.shown[0].caption, "Choose Downloads Folder");
    EXPECT_EQ(dialogs.shown[0].text, "Choose Downloads Folder.");

    const std::string working = music.Path() + "Rips/Wavetrap Music/";
    EXPECT_EQ(window->WorkingPath, working);
    EXPECT_EQ(window->zIniData1->ReadString("WorkingPath", ""), working);
    EXPECT_EQ(window->zIniData1->ReadString("DatabaseVersion", ""), "1");
    // One genre per case-insensitive name, as the catalogue first writes it; an empty genre too.
    EXPECT_EQ(Children(window->GenresRoot()), (QStringList{"", "jazz", "Rock"}));
    for (const char* sub : {"jazz", "Rock", "Wish List", "_"})
        EXPECT_TRUE(fs::is_directory(working + sub)) << sub;
    EXPECT_EQ(window->lTotalGenres->text(), "3");
    EXPECT_EQ(window->lTotalRadioStations->text(), "4");
    EXPECT_EQ(window->lTotalRippedSongs->text(), "0");
    EXPECT_EQ(window->lTotalFavorites->text(), "0");

    // Selecting "jazz" lists only the stations spelt exactly so; bit rate 0 shows empty.
    window->TeTreeView1Change(window->GenresRoot()->child(1));
    EXPECT_EQ(Column(window->BrowseList, 0), (QStringList{"Jazz One"}));
    // Loading again (after an update or Manage Genres) never doubles the nodes.
    window->LoadGenres();
    EXPECT_EQ(window->GenresRoot()->childCount(), 3);
}

TEST_F(StartupFixture, CancellingTheFirstFolderChoiceEndsTheProgram) {
    Open();
    int terminate = 0;
    QObject::connect(window.get(), &TForm1::TerminateRequested, [&] { ++terminate; });
    ASSERT_TRUE(window->FormCreate());
    window->FormActivate();  // no folder queued: the chooser is cancelled
    EXPECT_TRUE(window->Terminating());
    EXPECT_EQ(terminate, 1);
    EXPECT_EQ(window->zIniData1->ReadString("WorkingPath", ""), "");
    // Favourites and statistics were not loaded after the cancel.
    EXPECT_EQ(window->lTotalRadioStations->text(), "0");
}

TEST_F(StartupFixture, LaterStartsKeepTheStoredFolderAndLoadFavourites) {
    wt::test::WriteCatalogue(folder.Path(), {Station("Pop", "Pop One", 128, "http://p/1"),
                                             Station("Rock", "Rock One", 96, "http://r/1")});
    {
        auto settings = Settings();
        settings.WriteString("WorkingPath", music.Path() + "Wavetrap Music/");
        settings.WriteStrings("Favorites", {"Best", "Empty"});
        settings.WriteStrings("Best", {"2", "99", "1", "2"});  // 99 was deleted
        settings.WriteStrings("Wishes", {"one", "two", "three"});
        settings.WriteInteger("RippedSongs", 41);
    }
    Open();
    std::vector<std::string> started;
    window->Hooks().startWish = [&](const std::string& wish) { started.push_back(wish); };
    ASSERT_TRUE(window->FormCreate());
    window->FormActivate();
    window->FormActivate();  // the activation work runs once

    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(started, (std::vector<std::string>{"one", "two", "three"}));
    EXPECT_EQ(Children(window->FavouritesRoot()), (QStringList{"Best", "Empty"}));
    EXPECT_EQ(window->lTotalFavorites->text(), "2");
    EXPECT_EQ(window->lTotalWishes->text(), "3");
    EXPECT_EQ(window->lTotalRippedSongs->text(), "41");

    window->TeTreeView1Change(window->FavouritesRoot()->child(0));
    EXPECT_EQ(window->BrowseList->columnCount(), 3);
    EXPECT_EQ(Column(window->BrowseList, 0), (QStringList{"Rock One", "Pop One", "Rock One"}));
    EXPECT_EQ(Column(window->BrowseList, 2), (QStringList{"Rock", "Pop", "Rock"}));
    EXPECT_TRUE(window->menus.deleteFavorite->isVisible());
    EXPECT_FALSE(window->menus.addToFavorites->isVisible());

    window->TeTreeView1Change(window->GenresRoot());  // a root keeps the list
    EXPECT_EQ(window->BrowseList->topLevelItemCount(), 3);
    window->TeTreeView1Change(window->GenresRoot()->child(0));
    EXPECT_EQ(window->BrowseList->columnCount(), 2);
    EXPECT_EQ(Column(window->BrowseList, 0), (QStringList{"Pop One"}));
    window->TeTreeView1Change(window->FavouritesRoot()->child(1));  // no stored members
    EXPECT_EQ(window->BrowseList->columnCount(), 3);
    EXPECT_EQ(window->BrowseList->topLevelItemCount(), 0);

    window->DeleteTreeFavorite("Best");
    EXPECT_EQ(Children(window->FavouritesRoot()), (QStringList{"Empty"}));
    window->DeleteTreeGenre("Pop");
    EXPECT_EQ(Children(window->GenresRoot()), (QStringList{"Rock"}));
}

TEST_F(StartupFixture, ARefusedCatalogueStopsStartWithItsMessage) {
    std::ofstream(folder / "data.db") << "this is not a data set";
    Open();
    int terminate = 0;
    QObject::connect(window.get(), &TForm1::TerminateRequested, [&] { ++terminate; });
    EXPECT_FALSE(window->FormCreate());
    ASSERT_EQ(dialogs.Messages().size(), 1);
    EXPECT_FALSE(dialogs.Messages()[0].isEmpty());
    EXPECT_EQ(dialogs.shown[0].kind, wt::ui::MessageKind::Error);
    EXPECT_EQ(terminate, 1);
    window->FormActivate();  // nothing may use what the failed start did not make
    EXPECT_TRUE(window->GenresRoot()->childCount() == 0);
    window.reset();  // and the window still closes cleanly
}

TEST_F(StartupFixture, QuitQuestionNoKeepsRunningYesReleases) {
    wt::test::WriteCatalogue(folder.Path(), {Station("Pop", "Pop One", 128, "http://p/1")});
    Settings().WriteString("WorkingPath", music.Path() + "Wavetrap Music/");
    Open();
    ASSERT_TRUE(window->FormCreate());
    window->show();
    ASSERT_TRUE(wt::test::PumpUntil([&] { return window->GenresRoot()->childCount() == 1; }));

    dialogs.AnswerNo();
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->zDataset1->Dataset().Active());
    EXPECT_EQ(dialogs.shown.back().text, "Are you sure you want to quit Wavetrap?");
    EXPECT_EQ(dialogs.shown.back().kind, wt::ui::MessageKind::Confirmation);

    dialogs.AnswerYes();
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->zDataset1->Dataset().Active());
    EXPECT_EQ(window->BlackListEntries, nullptr);
    EXPECT_TRUE(dialogs.Messages().isEmpty());  // every release went well
}

}  // namespace
