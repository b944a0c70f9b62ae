// A user wishes for a song that one of their stations will play: a real Icecast server with
// two mounts, whose own status page tells what each mount plays. The wished title on one mount
// starts a "Wish List" rip of that mount; the song lands in "Wish List/" and the rip ends at
// the next, unwished title, leaving no file for it.
#include "ProgramSession.h"

#include "IcecastServer.h"
#include "WishListDialog.h"
#include "settings/zIniData.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace wt::acceptance {
namespace {

namespace fs = std::filesystem;

// Adds the wish through Manage Wish List and closes the dialog with Done.
void AddWish(ProgramSession& session, const QString& wish) {
    session.answers.ThenAct([&session, wish](QWidget* d) {
        auto* list = d->findChild<QListWidget*>();
        ASSERT_NE(list, nullptr);
        session.answers.Then([wish](QWidget* box) {
            auto* edit = box->findChild<QLineEdit*>();
            ASSERT_NE(edit, nullptr);
            Type(edit, wish);
            PressKey(edit, Qt::Key_Return);
        });
        Click(d, "Add");
        ASSERT_TRUE(WaitFor([&] { return list->count() == 1; }, 3000));
        Click(d, "Done");
    });
    Click(&session.Window(), "Manage Wish List");
    ASSERT_TRUE(WaitFor([&] { return session.answers.AllAnswered() && !QApplication::activeModalWidget(); }));
}

std::uintmax_t SizeOf(const std::string& path) {
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    return ec ? 0 : size;
}

TEST(LiveWishStory, AWishedTitleOnAnIcecastMountIsRippedAndTheRipEndsAtTheNextUnwishedTitle) {
    if (!test::IcecastServer::Available()) GTEST_SKIP() << "icecast2 or ffmpeg not installed";
    test::IcecastServer server(2);
    ASSERT_TRUE(server.Start()) << server.Error();
    ASSERT_TRUE(server.SetTitle("Morning - Show", 0));
    ASSERT_TRUE(server.SetTitle("Traffic - News", 1));
    ProgramSession session({Station("Rock", "Mount One", 128, server.StreamUrl(0)),
                            Station("Rock", "Mount Two", 128, server.StreamUrl(1))},
                           false, [](TzIniData& settings) { settings.WriteInteger("WishStatusInterval", 1); });
    ASSERT_NO_FATAL_FAILURE(session.Start());
    ui::TForm1& w = session.Window();
    const int before = server.Requests("/status-json.xsl");
    ASSERT_NO_FATAL_FAILURE(AddWish(session, "beatles"));

    // The first look at the server learns what plays; the wished song starts after it.
    ASSERT_TRUE(WaitFor([&] { return server.Requests("/status-json.xsl") > before; }, 10000));
    // A jingle plays for a second before it: the server's burst to a new listener holds its end,
    // under its title, before the wished song begins.
    ASSERT_TRUE(server.SetTitle("Station - Jingle", 1));
    std::this_thread::sleep_for(std::chrono::seconds(1));
    ASSERT_TRUE(server.SetTitle("The Beatles - Help", 1));
    ASSERT_TRUE(WaitFor([&] { return w.TeListView1->topLevelItemCount() == 1; }, 15000));
    QTreeWidgetItem* row = w.TeListView1->topLevelItem(0);
    EXPECT_EQ(row->text(0), "Mount Two");
    EXPECT_EQ(row->text(1), "Wish List");
    const std::string wished = session.MusicFolder() + "Wish List/The Beatles - Help.mp3";
    ASSERT_TRUE(WaitFor([&] { return SizeOf(wished) >= 32 * 1024; }, 15000)) << "the wished song is recorded";

    ASSERT_TRUE(server.SetTitle("Someone Else - Other Song", 1));
    ASSERT_TRUE(WaitFor([&] { return w.TeListView1->topLevelItemCount() == 0; }, 15000))
        << "the wish rip ends at the first unwished title";
    EXPECT_EQ(w.lTotalRippedWishedSongs->text(), "1") << "the wished song counts once it has ended";
    EXPECT_FALSE(fs::exists(session.MusicFolder() + "Wish List/Someone Else - Other Song.mp3"));
    EXPECT_GE(SizeOf(wished), 32u * 1024) << "the wished song stays";
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(session.MusicFolder() + "Wish List"))
        files.push_back(entry.path().filename().string());
    EXPECT_EQ(files, std::vector<std::string>{"The Beatles - Help.mp3"});
    TzIniData settings("cfg.dat", false, session.Profile());
    EXPECT_EQ(settings.ReadInteger("RippedWishedSongs", 0), 1);

    // The wish list tells when and where the wish last matched.
    QString shown;
    session.answers.ThenAct([&](QWidget* d) {
        auto* list = d->findChild<QListWidget*>();
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->count(), 1);
        auto* label = d->findChild<QLabel*>();
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), QString(ui::kNoWishSelected) + "\nLooking at status pages: 1 of 1 servers");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
        ASSERT_TRUE(WaitFor([&] { return !list->selectedItems().isEmpty(); }, 3000));
        shown = label->text();
        PressKey(list, Qt::Key_Escape);
    });
    Click(&w, "Manage Wish List");
    ASSERT_TRUE(WaitFor([&] { return session.answers.AllAnswered() && !QApplication::activeModalWidget(); }));
    EXPECT_TRUE(shown.startsWith("Last matched ")) << shown.toStdString();
    EXPECT_TRUE(shown.contains("on Mount Two (status pages): The Beatles - Help")) << shown.toStdString();
    // It is kept for the next start.
    TzIniData stored("cfg.dat", false, session.Profile());
    const std::string kept = stored.ReadString("WishMatches", "");
    EXPECT_TRUE(kept.starts_with("beatles\t")) << kept;
    EXPECT_TRUE(kept.ends_with("\tMount Two\tstatus pages\tThe Beatles - Help\r\n")) << kept;
}

TEST(LiveWishStory, TheLastMatchOfAWishIsShownAfterTheNextStart) {
    ProgramSession session({}, false, [](TzIniData& settings) {
        settings.WriteString("Wishes", "Queen\r\nabba\r\n");
        settings.WriteString("WishMatches",
                             "queen\t2026-12-01 10:30\tRock FM\tdirectory listing\tQueen - Radio Ga Ga\r\n"
                             "abba\tnot a time\tPop FM\tstatus pages\tABBA - SOS\r\n"
                             "broken line\r\n");
    });
    ASSERT_NO_FATAL_FAILURE(session.Start());
    QStringList shown;
    session.answers.ThenAct([&](QWidget* d) {
        auto* list = d->findChild<QListWidget*>();
        auto* label = d->findChild<QLabel*>();
        ASSERT_TRUE(list && label);
        ASSERT_EQ(list->count(), 2);
        for (int row = 0; row < list->count(); ++row) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
            ASSERT_TRUE(WaitFor([&] { return list->currentRow() == row; }, 3000));
            shown << label->text();
        }
        PressKey(list, Qt::Key_Escape);
    });
    Click(&session.Window(), "Manage Wish List");
    ASSERT_TRUE(WaitFor([&] { return session.answers.AllAnswered() && !QApplication::activeModalWidget(); }));
    EXPECT_EQ(shown, QStringList({"Last matched 2026-12-01 10:30 on Rock FM (directory listing): Queen - Radio Ga Ga",
                                  QString(ui::kNotMatchedYet)}))
        << "a wish matches its stored line ignoring case; a damaged line is left out";
}

}  // namespace
}  // namespace wt::acceptance
