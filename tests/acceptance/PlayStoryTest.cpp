// A user listens: plays a station and stops it, previews a song while it is being ripped, and
// is told when a station cannot be played. (No sound server here: the audio goes nowhere.)
#include "ProgramSession.h"

#include "IcyTestServer.h"

#include <QLabel>
#include <QTabWidget>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>

namespace wt::acceptance {
namespace {

namespace fs = std::filesystem;

TEST(PlayStory, PlayShowsTheStationAndItsSongStopPlayingClearsIt) {
    test::IcyTestServer station({{"Playing Song", 100}}, 2048, 30);
    ProgramSession session({Station("Rock", "Rock FM", 128, station.Url())});
    ASSERT_NO_FATAL_FAILURE(session.Start());
    ui::TForm1& w = session.Window();
    ASSERT_NO_FATAL_FAILURE(PickStation(w, "Rock", "Rock FM"));
    Click(&w, "Play current station");
    ASSERT_TRUE(WaitFor([&] { return w.lNowPlaying->text() == "Rock FM: Playing Song"; }));
    Click(&w, "Stop playing");
    EXPECT_EQ(w.lNowPlaying->text(), "No Radio Station Selected...");
    EXPECT_EQ(session.answers.Seen(), QStringList{});
}

TEST(PlayStory, PlayingAStationThatRefusesSaysSo) {
    ProgramSession session({Station("Rock", "Gone FM", 128, "http://127.0.0.1:9/")});
    ASSERT_NO_FATAL_FAILURE(session.Start());
    ui::TForm1& w = session.Window();
    ClickItem(w.TeTreeView1, FindItem(w.TeTreeView1, "Rock"));
    ASSERT_TRUE(WaitFor([&] { return w.BrowseList->topLevelItemCount() == 1; }));
    session.answers.ThenPress("OK");
    ContextMenu(w.BrowseList, w.BrowseList->topLevelItem(0), "Play");
    ASSERT_TRUE(WaitFor([&] { return session.answers.AllAnswered(); }, 20000));
    EXPECT_EQ(session.answers.Seen(), QStringList{"Unable to play this station!"});
    EXPECT_EQ(w.lNowPlaying->text(), "No Radio Station Selected...");
}

TEST(PlayStory, PreviewPlaysWhatHasBeenRippedOfTheCurrentSong) {
    test::IcyTestServer station({{"Ripped Song", 200}}, 2048, 30);
    ProgramSession session({Station("Rock", "Rock FM", 128, station.Url())});
    ASSERT_NO_FATAL_FAILURE(session.Start());
    ui::TForm1& w = session.Window();
    ASSERT_NO_FATAL_FAILURE(PickStation(w, "Rock", "Rock FM"));
    Click(&w, "Download this station");
    QTreeWidgetItem* row = w.TeListView1->topLevelItem(0);
    const std::string song = session.MusicFolder() + "Rock/Ripped Song.mp3";
    ASSERT_TRUE(WaitFor([&] { return fs::exists(song) && fs::file_size(song) > 8192; }, 15000));

    ContextMenu(w.TeListView1, row, "Preview This Song");
    EXPECT_EQ(w.lNowPlaying->text(), "Rock FM: Ripped Song");
    const std::string preview = session.Profile() + "preview.mp3";
    ASSERT_TRUE(fs::exists(preview));
    // The copy holds what had been written: the start of the growing song file.
    std::string copy = ReadWhole(preview), whole = ReadWhole(song);
    ASSERT_GT(copy.size(), 8192u);
    EXPECT_EQ(whole.substr(0, copy.size()), copy);

    Click(&w, "Stop playing");
    EXPECT_EQ(w.lNowPlaying->text(), "No Radio Station Selected...");
}

}  // namespace
}  // namespace wt::acceptance
