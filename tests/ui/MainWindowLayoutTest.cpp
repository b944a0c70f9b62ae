// The window as a new user first sees it, before any catalogue is loaded, and the commands that
// only reach outward (advertisement, help, about).
#include "AboutBox.h"
#include "AdvertStrip.h"
#include "MainWindow.h"
#include "ScriptedDialogs.h"

#include "LoopbackHttpServer.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

namespace {

using wt::ui::TForm1;

bool PumpUntil(const std::function<bool()>& pred, int timeoutMs = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!pred() && timer.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return pred();
}

QStringList Headers(QTreeWidget* list) {
    QStringList out;
    for (int i = 0; i < list->columnCount(); ++i) out << list->headerItem()->text(i);
    return out;
}

QStringList VisibleHints(QToolBar* bar) {
    QStringList out;
    for (QAction* a : bar->actions())
        if (a->isVisible()) out << (a->isSeparator() ? QStringLiteral("|") : a->toolTip());
    return out;
}

QStringList VisibleTexts(QMenu* menu) {
    QStringList out;
    for (QAction* a : menu->actions())
        if (a->isVisible()) out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

struct WindowFixture : ::testing::Test {
    wt::test::ScriptedDialogs dialogs;
    wt::test::TempFolder folder;
    wt::test::LoopbackHttpServer server;
    std::vector<QUrl> opened;
    std::unique_ptr<TForm1> window;

    void SetUp() override {
        server.Route("/wt_advert.php", wt::test::ScriptedResponse::Ok(
                                           "<html><body><b>Advert</b> "
                                           "<a href=\"http://127.0.0.1:1/offer\">offer</a>"
                                           "</body></html>"));
        window = std::make_unique<TForm1>(dialogs, folder.Path());
        window->zIniData1->WriteString("AdvertSite", server.Url(""));
        window->zIniData1->WriteString("ProductSite", "http://vendor.test/");
        window->SetOpener([this](const QUrl& url) { opened.push_back(url); });
    }
    std::size_t AdvertRequests() const { return server.RequestCount(); }
};

TEST_F(WindowFixture, FirstLookMatchesTheLayout) {
    window->show();
    EXPECT_EQ(window->windowTitle(), "Wavetrap (Beta  Release)");
    EXPECT_EQ(window->size(), QSize(752, 563));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());  // not resizable

    ASSERT_EQ(window->TeTreeView1->topLevelItemCount(), 2);
    EXPECT_EQ(window->GenresRoot()->text(0), "Genres");
    EXPECT_EQ(window->FavouritesRoot()->text(0), "Favourites");
    EXPECT_EQ(window->TeTreeView1->width(), 225);

    EXPECT_EQ(window->TeSPageControl1->tabText(0), "Browse");
    EXPECT_EQ(window->TeSPageControl1->tabText(1), "Downloading");
    EXPECT_EQ(window->TeSPageControl1->geometry(), QRect(0, 342, 752, 221));
    EXPECT_EQ(Headers(window->BrowseList), (QStringList{"Radio Station", "BitRate"}));
    EXPECT_EQ(window->BrowseList->columnWidth(0), 250);
    EXPECT_EQ(Headers(window->TeListView1),
              (QStringList{"Radio Station", "BitRate", "Status", "Ripped", "Song Name",
                           "Downloaded"}));
    // The statuses of a running rip show whole in the Status column.
    const QFontMetrics metrics(window->TeListView1->font());
    for (const char* status : {"Connecting...", "Reconnecting...", "Connected", "Ripping",
                               "Ripping \u00b7 Scheduled until 23:59"})
        EXPECT_LT(metrics.horizontalAdvance(QString::fromUtf8(status)) + 12,
                  window->TeListView1->columnWidth(2)) << status;

    EXPECT_EQ(window->TeGroupBox2->title(), "Statistics");
    EXPECT_EQ(window->TeGroupBox2->size(), QSize(291, 272));
    EXPECT_EQ(window->TeGroupBox1->title(), "Manage");
    EXPECT_EQ(window->TeGroupBox1->width(), 219);
    for (QLabel* value : {window->lTotalRippedSongs, window->lTotalGenres, window->lTotalWishes,
                          window->lTotalRadioStations, window->lTotalFavorites})
        EXPECT_EQ(value->text(), "0");
    EXPECT_FALSE(window->lTotalRippedWishedSongs->isVisible());
    EXPECT_EQ(window->lNowPlaying->text(), "No Radio Station Selected...");

    QStringList manageButtons;
    for (auto* b : window->TeGroupBox1->findChildren<QPushButton*>())
        if (b->isVisible()) manageButtons << b->text();
    EXPECT_EQ(manageButtons, (QStringList{"Manage Genres", "Update Radio Stations",
                                          "Set Output Folder", "About", "Help"}));
    EXPECT_EQ(window->manage.help->size(), QSize(197, 25));

    EXPECT_EQ(VisibleTexts(window->BrowseMenu), (QStringList{"Download", "Add to Favorites", "Play"}));
    EXPECT_EQ(VisibleTexts(window->TePopupMenu2),
              (QStringList{"Stop Ripping", "Preview This Song", "Open Folder"}));
    EXPECT_EQ(VisibleTexts(window->TrayMenu),
              (QStringList{"Cancel All Rips", "Stop Playing", "-", "Restore", "Exit"}));
    EXPECT_EQ(VisibleHints(window->TeToolBar2),
              (QStringList{"Stop ripping", "Stop all stations", "Open containing folder", "|",
                           "Preview this song", "Stop playing", ""}));
}

TEST_F(WindowFixture, ToolbarSetsSwitchExactlyTheirSevenElements) {
    window->ShowGenresButtons();
    EXPECT_EQ(VisibleHints(window->BrowseBar),
              (QStringList{"Add to Favorites", "|", "Download this station", "Download all",
                           "Delete the station", "Delete all", "|", "Play current station",
                           "Stop playing", ""}));
    window->ShowFavoritesButtons();
    EXPECT_EQ(VisibleHints(window->BrowseBar),
              (QStringList{"Download this station", "Download all", "Delete this favorite",
                           "Delete entire favorite's group", "|", "Play current station",
                           "Stop playing", "|", ""}));
}

TEST_F(WindowFixture, AdvertShrinksWhileLoadingAndGrowsWhenTheNewestPageArrives) {
    QTextBrowser* view = window->WebBrowser1->Browser();
    window->ReloadAdvert();
    EXPECT_EQ(view->size(), QSize(1, 1));
    window->ReloadAdvert();  // a second reload before the first page lands
    ASSERT_TRUE(PumpUntil([&] { return window->WebBrowser1->CompletedLoads() == 1; }));
    EXPECT_EQ(view->geometry(), QRect(15, -15, 550, 130));
    EXPECT_TRUE(view->toPlainText().contains("Advert"));
    EXPECT_EQ(server.Requests().back().target, "/wt_advert.php");
}

TEST_F(WindowFixture, CommandsReloadTheAdvertEvenWhenTheyDoNothingElse) {
    int hookRuns = 0;
    window->Hooks().deleteAll = [&] { ++hookRuns; };
    window->Hooks().manageWishList = [&] { ++hookRuns; };
    window->ApplyHooks();
    EXPECT_TRUE(window->manage.manageWishList->isVisibleTo(window.get()));
    EXPECT_FALSE(window->manage.updateConfiguration->isVisibleTo(window.get()));

    window->browseBar.deleteAll->trigger();        // reloads, then runs its hook
    window->browseBar.addToFavorites->trigger();   // no hook yet: reloads only
    EXPECT_TRUE(PumpUntil([&] { return AdvertRequests() >= 1; }));
    window->manage.manageWishList->click();        // never reloads
    EXPECT_EQ(hookRuns, 2);
    // Reloads coalesce while one runs, but the newest always lands.
    EXPECT_TRUE(PumpUntil([&] { return window->WebBrowser1->CompletedLoads() >= 1; }));
    std::size_t before = AdvertRequests();
    window->manage.manageWishList->click();
    window->Label1Click();  // banner: opens the site, no reload
    QCoreApplication::processEvents();
    EXPECT_EQ(AdvertRequests(), before);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl(QString::fromStdString(server.Url(""))));
    // The About box links to the product site setting, without its trailing '/'.
    EXPECT_EQ(window->ProductSite(), "http://vendor.test");
}

TEST_F(WindowFixture, AdvertLinkOpensInTheBrowserAndReloadsTheStrip) {
    window->ReloadAdvert();
    ASSERT_TRUE(PumpUntil([&] { return window->WebBrowser1->CompletedLoads() == 1; }));
    emit window->WebBrowser1->Browser()->anchorClicked(QUrl("http://127.0.0.1:1/offer"));
    EXPECT_EQ(window->WebBrowser1->Browser()->size(), QSize(1, 1));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl("http://127.0.0.1:1/offer"));
    EXPECT_TRUE(PumpUntil([&] { return window->WebBrowser1->CompletedLoads() == 2; }));
}

TEST_F(WindowFixture, HelpOpensThePageBesideTheProgram) {
    window->manage.help->click();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(QString::fromStdString(folder.Path() + "Help.html")));
    EXPECT_TRUE(PumpUntil([&] { return AdvertRequests() >= 1; }));
}

TEST_F(WindowFixture, AboutBoxShowsNameAndOpensTheVendorSite) {
    wt::ui::TfAbout about(window.get(), QUrl("http://vendor.test"),
                          [&](const QUrl& url) { opened.push_back(url); });
    EXPECT_EQ(about.windowTitle(), "About");
    EXPECT_EQ(about.size(), QSize(295, 277));
    EXPECT_EQ(about.Title()->text(), "Wavetrap v1.0");
    EXPECT_EQ(about.OkButton()->text(), "Ok");
    about.Label1Click();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl("http://vendor.test"));
    about.setAttribute(Qt::WA_DeleteOnClose, false);  // on the stack here
    about.show();
    about.OkButton()->click();
    EXPECT_FALSE(about.isVisible());
}

TEST_F(WindowFixture, NowPlayingLabelScrollsWithTheTimerWhileTheWindowShows) {
    window->zIniData1->WriteString("WorkingPath", folder.Path() + "Music/");
    ASSERT_TRUE(window->FormCreate());
    window->show();
    // A text that fits its strip stands still; a longer one runs.
    window->SetNowPlaying("Station: Song");
    EXPECT_FALSE(window->Timer2->isActive());
    EXPECT_EQ(window->lNowPlaying->x(), 0);
    window->SetNowPlaying("A Station With A Long Name: The Artist - A Song With A Long Title");
    int start = window->lNowPlaying->x();
    ASSERT_TRUE(PumpUntil([&] { return window->lNowPlaying->x() < start - 3; }));
}

}  // namespace
