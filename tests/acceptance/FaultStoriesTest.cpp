// What a user sees when things go wrong: a rip that fails keeps its reason on the screen, a
// new rip never lands in an old row, and a server that does not answer never holds the window.
#include "ProgramSession.h"

#include "IcyTestServer.h"
#include "LoopbackHttpServer.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace wt::acceptance {
namespace {

enum Column { kCaption, kBitRate, kStatus, kRipped, kSong, kKb };

TEST(FaultStory, AFailedRipKeepsItsReasonAndTheNextRipGetsARowOfItsOwn) {
    test::IcyTestServer good({{"Good Song", 3}, {"Next Song", 100}}, 2048, 30);
    ProgramSession session({Station("Mixed", "Dead FM", 128, "http://127.0.0.1:9/"),
                            Station("Mixed", "Good FM", 128, good.Url())});
    ASSERT_NO_FATAL_FAILURE(session.Start());
    ui::TForm1& w = session.Window();
    ClickItem(w.TeTreeView1, FindItem(w.TeTreeView1, "Mixed"));
    ASSERT_TRUE(WaitFor([&] { return w.BrowseList->topLevelItemCount() == 2; }));

    ClickItem(w.BrowseList, FindItem(w.BrowseList, "Dead FM"));
    Click(&w, "Download this station");
    QTreeWidgetItem* dead = w.TeListView1->topLevelItem(0);
    ASSERT_TRUE(WaitFor([&] { return dead->text(kStatus) == "Can't play this stream."; }, 90000));
    // Its channel has ended (its id is free again); the row and its reason stay.
    ASSERT_TRUE(WaitFor([&] { return w.Radio->Channels().empty(); }));

    ClickTab(w.TeSPageControl1, "Browse");
    ClickItem(w.BrowseList, FindItem(w.BrowseList, "Good FM"));
    Click(&w, "Download this station");
    ASSERT_EQ(w.TeListView1->topLevelItemCount(), 2);
    QTreeWidgetItem* fresh = w.TeListView1->topLevelItem(1);
    ASSERT_TRUE(WaitFor([&] { return fresh->text(kSong) == "Next Song"; }, 15000));
    EXPECT_EQ(fresh->text(kStatus), "Ripping");
    EXPECT_EQ(dead->text(kStatus), "Can't play this stream.");
    EXPECT_EQ(dead->text(kSong), "");
    EXPECT_EQ(dead->toolTip(kStatus), "Can't play this stream.");
    // Well past the watchdog's 10 seconds the new rip goes on in its own row.
    WaitFor([] { return false; }, 2500);
    EXPECT_EQ(w.TeListView1->topLevelItemCount(), 2);
    EXPECT_EQ(fresh->text(kStatus), "Ripping");

    // The user removes the failed row.
    ClickTab(w.TeSPageControl1, "Downloading");
    ClickItem(w.TeListView1, dead);
    Click(&w, "Stop ripping");
    EXPECT_EQ(ColumnTexts(w.TeListView1, kCaption), QStringList{"Good FM"});
}

TEST(FaultStory, AnUpdateServerThatNeverAnswersDoesNotHoldTheWindow) {
    test::LoopbackHttpServer silent;
    test::ScriptedResponse stall;
    stall.stallBeforeHead = true;
    silent.SetHandler([&](const test::RecordedRequest&) { return stall; });
    ProgramSession session({Station("Rock", "Rock FM", 128, "http://127.0.0.1:9/")}, false,
                           [&](TzIniData& settings) { settings.WriteString("UpdateServer", silent.Url("")); });
    QElapsedTimer started;
    started.start();
    ASSERT_NO_FATAL_FAILURE(session.Start());
    EXPECT_LT(started.elapsed(), 3000) << "the window and its genres came up without waiting";
    ui::TForm1& w = session.Window();
    // The window takes clicks while the check waits.
    ClickItem(w.TeTreeView1, FindItem(w.TeTreeView1, "Rock"));
    ASSERT_TRUE(WaitFor([&] { return w.BrowseList->topLevelItemCount() == 1; }, 2000));
    // The check gives up within its time limit and says so once.
    session.answers.ThenPress("OK");
    ASSERT_TRUE(WaitFor([&] { return session.answers.AllAnswered(); }, 30000));
    EXPECT_EQ(session.answers.Seen(), QStringList{"Unable to connect to the update server!"});
}

TEST(FaultStory, WithNoUpdateServerSetTheStartShowsNoBoxAndTheUpdateButtonOffersTheDirectory) {
    ProgramSession session({Station("Rock", "Rock FM", 128, "http://127.0.0.1:9/")});
    ASSERT_NO_FATAL_FAILURE(session.Start());
    WaitFor([] { return false; }, 300);
    EXPECT_EQ(session.answers.Seen(), QStringList{});
    session.answers.ThenPress("No");
    Click(&session.Window(), "Update Radio Stations");
    ASSERT_TRUE(WaitFor([&] { return session.answers.AllAnswered(); }));
    ASSERT_EQ(session.answers.Seen().size(), 1);
    EXPECT_TRUE(session.answers.Seen()[0].startsWith("No update server is set"));
}

TEST(FaultStory, TheUpdateServerIsSetInUpdateConfigurationAndAStuckVersionIsReset) {
    test::LoopbackHttpServer server;
    server.SetHandler([](const test::RecordedRequest&) { return test::ScriptedResponse::Status(404, "Not Found"); });
    ProgramSession session({Station("Rock", "Rock FM", 128, "http://127.0.0.1:9/")}, false,
                           [](TzIniData& settings) { settings.WriteString("DatabaseVersion", "999"); });
    ASSERT_NO_FATAL_FAILURE(session.Start());
    ui::TForm1& w = session.Window();
    QString before, after;
    session.answers.ThenAct([&](QWidget* dialog) {
        auto* edit = dialog->findChild<QLineEdit*>();
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->accessibleName(), "Update server:");
        ClickWidget(edit);
        Paste(edit, QString::fromStdString(server.Url("")));
        PressKey(edit, Qt::Key_Tab);  // leaving the box stores it
        for (auto* label : dialog->findChildren<QLabel*>())
            if (label->text().startsWith("Catalogue version")) before = label->text();
        Click(dialog, "Reset Version");
        for (auto* label : dialog->findChildren<QLabel*>())
            if (label->text().startsWith("Catalogue version")) after = label->text();
        Click(dialog, "Done");
    });
    Click(&w, "Update Configuration");
    ASSERT_TRUE(WaitFor([&] { return session.answers.AllAnswered(); }));
    EXPECT_EQ(before, "Catalogue version: 999");
    EXPECT_EQ(after, "Catalogue version: 1");
    // The update now asks the server that was typed in.
    session.answers.ThenPress("OK");
    Click(&w, "Update Radio Stations");
    ASSERT_TRUE(WaitFor([&] { return session.answers.AllAnswered(); }, 20000));
    ASSERT_FALSE(server.Requests().empty());
    EXPECT_EQ(server.Requests().front().target, "/upd.txt");
    EXPECT_EQ(session.answers.Seen().back(), "Unable to connect to the update server!");
}

}  // namespace
}  // namespace wt::acceptance
