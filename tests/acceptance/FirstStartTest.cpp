// A new user's first start: the program asks for the folder to record into and builds the
// folder tree there; cancelling that first question ends the program.
#include "ProgramSession.h"

#include <QLabel>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>

namespace wt::acceptance {
namespace {

namespace fs = std::filesystem;

TEST(FirstStart, TheFolderChooserCreatesTheMusicFoldersAndNoErrorShows) {
    ProgramSession session({Station("Rock", "Rock FM", 128, "http://127.0.0.1:9/"),
                             Station("Jazz", "Jazz Cafe", 64, "http://127.0.0.1:9/")},
                           /*firstStart=*/true);
    QString title;
    session.answers.Then([&](QWidget* chooser) {
        title = chooser->windowTitle();
        ChooseFolderIn(chooser, session.music.Path());
    });
    ASSERT_NO_FATAL_FAILURE(session.Start());
    ASSERT_TRUE(WaitFor([&] { return fs::is_directory(session.MusicFolder() + "Wish List"); }));
    EXPECT_EQ(title, "Choose Downloads Folder");
    EXPECT_TRUE(fs::is_directory(session.MusicFolder() + "Rock"));
    EXPECT_TRUE(fs::is_directory(session.MusicFolder() + "Jazz"));
    ui::TForm1& w = session.Window();
    ASSERT_TRUE(WaitFor([&] { return w.lTotalRadioStations->text() == "2"; }));
    EXPECT_EQ(w.lTotalGenres->text(), "2");
    EXPECT_EQ(session.answers.Seen(), QStringList{}) << "no message box on a first start";
    EXPECT_FALSE(session.Ended());
}

TEST(FirstStart, CancellingTheFirstFolderChoiceEndsTheProgram) {
    ProgramSession session({}, /*firstStart=*/true);
    session.answers.ThenCancel();
    ASSERT_NO_FATAL_FAILURE(session.Start());
    ASSERT_TRUE(WaitFor([&] { return session.Ended(); }));
    EXPECT_FALSE(fs::exists(session.MusicFolder()));
}

}  // namespace
}  // namespace wt::acceptance
