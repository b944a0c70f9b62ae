// A user wishes for a song: adds the wish in Manage Wish List; once the station directory
// reports a station playing it, a "Wish List" rip starts and the song lands in "Wish List/".
#include "ProgramSession.h"

#include "DirectoryTestServer.h"
#include "IcyTestServer.h"
#include "settings/zIniData.h"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>

namespace wt::acceptance {
namespace {

namespace fs = std::filesystem;

constexpr int kMainWindowWidth = 752;

QStringList Rows(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

// Answers the wish input box by pasting text and pressing Enter; keeps what the box looked like.
struct WishBox {
    DialogAnswers::Answer Paste(const QString& text) {
        return [this, text](QWidget* dialog) {
            ++opened;
            width = dialog->frameGeometry().width();
            if (auto* label = dialog->findChild<QLabel*>()) prompt = label->text();
            auto* edit = dialog->findChild<QLineEdit*>();
            ASSERT_NE(edit, nullptr);
            acceptance::Paste(edit, text);
            PressKey(edit, Qt::Key_Return);
        };
    }
    int opened = 0;
    int width = 0;
    QString prompt;
};

TEST(WishStory, AWishAddedInTheDialogIsRippedIntoTheWishListFolderWhenADirectoryStationPlaysIt) {
    test::IcyTestServer station({{"Beatles - Help", 3}, {"Other Band - Song", 60}}, 2048, 30);
    test::DirectoryTestServer directory;
    const int id = directory.AddStation({"Beatles Radio", "Pop", "Jingle", station.Url(), std::nullopt});
    ProgramSession session({Station("Rock", "Rock FM", 128, "http://127.0.0.1:9/")}, false,
                           [&](TzIniData& settings) { settings.WriteString("DirectorySite", directory.RootUrl()); });
    ASSERT_NO_FATAL_FAILURE(session.Start());
    ui::TForm1& w = session.Window();

    WishBox box;
    session.answers.ThenAct([&](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), "Manage Wish List");
        auto* list = d->findChild<QListWidget*>();
        ASSERT_NE(list, nullptr);
        session.answers.Then(box.Paste("beatles"));
        Click(d, "Add");
        ASSERT_TRUE(WaitFor([&] { return Rows(list) == QStringList{"beatles"}; }, 3000));
        PressKey(list, Qt::Key_Return);  // Enter: Done
    });
    Click(&w, "Manage Wish List");
    ASSERT_TRUE(WaitFor([&] { return session.answers.AllAnswered() && !QApplication::activeModalWidget(); }));
    EXPECT_EQ(box.prompt,
              "Please enter a song name or artist. If Wavetrap finds\nany song name containing the string you "
              "entered,\nit will download the song automatically");
    EXPECT_LE(box.width, kMainWindowWidth) << "the wish box fits inside the main window";
    EXPECT_EQ(w.lTotalWishes->text(), "1");

    // The first look at the directory only learns what plays now; the wished song comes next.
    ASSERT_TRUE(WaitFor([&] { return directory.PlaylistRequests() >= 1; }));
    directory.SetNowPlaying(id, "Beatles - Help");
    ASSERT_TRUE(WaitFor([&] { return w.TeListView1->topLevelItemCount() == 1; }, 15000));
    QTreeWidgetItem* row = w.TeListView1->topLevelItem(0);
    EXPECT_EQ(row->text(0), "Beatles Radio");
    EXPECT_EQ(row->text(1), "Wish List");
    const std::string song = session.MusicFolder() + "Wish List/Beatles - Help.mp3";
    ASSERT_TRUE(WaitFor([&] { return ReadWhole(song) == station.Song(0); }, 15000));
    EXPECT_FALSE(fs::exists(session.MusicFolder() + "Wish List/Other Band - Song.mp3"))
        << "a wish rip keeps only wished songs";
}

TEST(WishStory, APastedListBecomesOneWishPerLineAndKnownWishesAreRefused) {
    ProgramSession session({}, false, [](TzIniData& settings) { settings.WriteStrings("Wishes", {"Queen"}); });
    ASSERT_NO_FATAL_FAILURE(session.Start());
    ui::TForm1& w = session.Window();
    WishBox box;
    QStringList shown;
    session.answers.ThenAct([&](QWidget* d) {
        auto* list = d->findChild<QListWidget*>();
        ASSERT_NE(list, nullptr);
        session.answers.Then(box.Paste("Abba\r\n  \nqueen\nMadonna - Frozen\n"));
        session.answers.ThenPress("OK");
        Click(d, "Add");
        ASSERT_TRUE(WaitFor([&] { return session.answers.AllAnswered(); }, 3000));
        shown = Rows(list);
        Click(d, "Done");
    });
    Click(&w, "Manage Wish List");
    ASSERT_TRUE(WaitFor([&] { return session.answers.AllAnswered() && !QApplication::activeModalWidget(); }));
    EXPECT_EQ(shown, QStringList({"Queen", "Abba", "Madonna - Frozen"}));
    EXPECT_EQ(session.answers.Seen(), QStringList{"A Wish already exists with such string"});
    EXPECT_EQ(w.lTotalWishes->text(), "3");
    TzIniData settings("cfg.dat", false, session.Profile());
    EXPECT_EQ(settings.ReadString("Wishes", ""), "Queen\r\nAbba\r\nMadonna - Frozen\r\n");
}

}  // namespace
}  // namespace wt::acceptance
