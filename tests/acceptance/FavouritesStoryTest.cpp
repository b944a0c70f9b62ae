// A user keeps favourite stations: adds two stations to a new group through the Favorites
// dialog, opens the group, records from it, and deletes first one favourite, then the group.
#include "ProgramSession.h"

#include "IcyTestServer.h"
#include "settings/zIniData.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>

namespace wt::acceptance {
namespace {

namespace fs = std::filesystem;

// Answers the Favorites dialog by typing a group name (or keeping the one it offers) and Enter.
DialogAnswers::Answer ChooseGroup(const QString& typed, QString* offered = nullptr) {
    return [typed, offered](QWidget* dialog) {
        auto* box = dialog->findChild<QComboBox*>();
        ASSERT_NE(box, nullptr) << "the Favorites dialog has its group box";
        if (offered) *offered = box->currentText();
        if (!typed.isEmpty()) {
            box->lineEdit()->selectAll();
            Type(box->lineEdit(), typed);
        }
        PressKey(box->lineEdit(), Qt::Key_Return);
    };
}

std::string StoredSetting(const std::string& profile, const std::string& name) {
    TzIniData store("cfg.dat", false, profile);
    return store.ReadString(name, "");
}

TEST(FavouritesStory, AGroupMadeInTheDialogIsRippedFromAndItsFavouritesAndTheGroupAreDeleted) {
    test::IcyTestServer rock({{"Fav Song", 3}, {"After", 40}}, 2048, 30);
    ProgramSession session({Station("Rock", "Rock FM", 128, rock.Url()),
                             Station("Rock", "Rock Two", 96, "http://127.0.0.1:9/")});
    ASSERT_NO_FATAL_FAILURE(session.Start());
    ui::TForm1& w = session.Window();
    ClickItem(w.TeTreeView1, FindItem(w.TeTreeView1, "Rock"));
    ASSERT_TRUE(WaitFor([&] { return w.BrowseList->topLevelItemCount() == 2; }));

    // The first station into a new group, typed in; the second into the group the dialog offers.
    ClickItem(w.BrowseList, FindItem(w.BrowseList, "Rock FM"));
    session.answers.Then(ChooseGroup("My Best"));
    Click(&w, "Add to Favorites");
    ASSERT_TRUE(WaitFor([&] { return session.answers.AllAnswered() && FindItem(w.TeTreeView1, "My Best"); }));
    QString offered;
    ClickItem(w.BrowseList, FindItem(w.BrowseList, "Rock Two"));
    session.answers.Then(ChooseGroup({}, &offered));
    ContextMenu(w.BrowseList, FindItem(w.BrowseList, "Rock Two"), "Add to Favorites");
    ASSERT_TRUE(WaitFor([&] { return session.answers.AllAnswered(); }));
    EXPECT_EQ(offered, "My Best");
    EXPECT_EQ(w.lTotalFavorites->text(), "1");
    EXPECT_EQ(StoredSetting(session.Profile(), "Favorites"), "My Best\r\n");

    // The group lists both; a station of it is recorded like any other.
    QTreeWidgetItem* group = FindItem(w.TeTreeView1, "My Best");
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->parent(), w.FavouritesRoot());
    ClickItem(w.TeTreeView1, group);
    ASSERT_TRUE(WaitFor([&] { return ColumnTexts(w.BrowseList, 0) == QStringList({"Rock FM", "Rock Two"}); }));
    EXPECT_TRUE(WaitFor([&] { return FindButton(&w, "Delete this favorite"); })) << "the favourites toolbar shows";
    ClickItem(w.BrowseList, FindItem(w.BrowseList, "Rock FM"));
    Click(&w, "Download this station");
    const std::string song = session.MusicFolder() + "Rock/Fav Song.mp3";
    ASSERT_TRUE(WaitFor([&] { return w.TeListView1->topLevelItemCount() == 1 &&
                                     w.TeListView1->topLevelItem(0)->text(4) == "After"; }, 15000));
    EXPECT_EQ(ReadWhole(song), rock.Song(0));
    Click(&w, "Stop all stations");

    // One favourite goes: No keeps it, Yes removes it and the group stays.
    ClickTab(w.TeSPageControl1, "Browse");
    ClickItem(w.BrowseList, FindItem(w.BrowseList, "Rock FM"));
    session.answers.ThenPress("No");
    Click(&w, "Delete this favorite");
    ASSERT_TRUE(WaitFor([&] { return session.answers.AllAnswered(); }));
    EXPECT_EQ(w.BrowseList->topLevelItemCount(), 2);
    session.answers.ThenPress("Yes");
    Click(&w, "Delete this favorite");
    ASSERT_TRUE(WaitFor([&] { return ColumnTexts(w.BrowseList, 0) == QStringList{"Rock Two"}; }));
    EXPECT_NE(FindItem(w.TeTreeView1, "My Best"), nullptr);

    // Then the whole group.
    session.answers.ThenPress("Yes");
    Click(&w, "Delete entire favorite's group");
    ASSERT_TRUE(WaitFor([&] { return !FindItem(w.TeTreeView1, "My Best"); }));
    EXPECT_EQ(w.BrowseList->topLevelItemCount(), 0);
    EXPECT_EQ(w.lTotalFavorites->text(), "0");
    EXPECT_EQ(session.answers.Seen(),
              (QStringList{"This will delete current radio station from this favorite's group.\nAre you sure you want to continue?",
                           "This will delete current radio station from this favorite's group.\nAre you sure you want to continue?",
                           "This will delete entire favorite's group.\nAre you sure you want to continue?"}));
    EXPECT_EQ(StoredSetting(session.Profile(), "Favorites"), "");
    EXPECT_EQ(StoredSetting(session.Profile(), "My Best"), "");
    EXPECT_TRUE(fs::exists(song)) << "deleting favourites keeps what was recorded";
}

TEST(FavouritesStory, AGroupNamedAsAFixedSettingIsRefusedAndTheSettingKeepsItsValue) {
    ProgramSession session({Station("Rock", "Rock FM", 128, "http://127.0.0.1:9/")}, false,
                           [](TzIniData& settings) { settings.WriteString("DirectorySite", "http://127.0.0.1:9/"); });
    ASSERT_NO_FATAL_FAILURE(session.Start());
    ui::TForm1& w = session.Window();
    ClickItem(w.TeTreeView1, FindItem(w.TeTreeView1, "Rock"));
    ASSERT_TRUE(WaitFor([&] { return w.BrowseList->topLevelItemCount() == 1; }));
    ClickItem(w.BrowseList, w.BrowseList->topLevelItem(0));
    for (const char* name : {"directorysite", "WORKINGPATH", "Favorites", "UpdateServer"}) {
        session.answers.Then(ChooseGroup(name));
        session.answers.ThenPress("OK");
        Click(&w, "Add to Favorites");
        ASSERT_TRUE(WaitFor([&] { return session.answers.AllAnswered(); })) << name;
        EXPECT_EQ(session.answers.Seen().back(),
                  QString("\"%1\" is the name of one of Wavetrap's own settings and cannot be a favorite's group.\n"
                          "Please choose another name.").arg(name));
    }
    EXPECT_EQ(StoredSetting(session.Profile(), "DirectorySite"), "http://127.0.0.1:9/");
    EXPECT_EQ(StoredSetting(session.Profile(), "WorkingPath"), session.MusicFolder());
    EXPECT_EQ(StoredSetting(session.Profile(), "Favorites"), "");
    EXPECT_EQ(w.FavouritesRoot()->childCount(), 0);
}

}  // namespace
}  // namespace wt::acceptance
