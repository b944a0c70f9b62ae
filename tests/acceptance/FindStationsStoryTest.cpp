// A new user with an empty catalogue finds a station in the open directory from the window,
// adds it, and records it.
#include "ProgramSession.h"

#include "IcyTestServer.h"
#include "LoopbackHttpServer.h"

#include <QLabel>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace wt::acceptance {
namespace {

TEST(FindStationsStory, AStationFoundInTheDirectoryGetsItsGenreAndIsRipped) {
    test::IcyTestServer station({{"First Song", 2}, {"Second Song", 100}}, 2048, 30);
    test::LoopbackHttpServer directory;
    // The owner's address is a playlist; the directory resolved it to the stream.
    const std::string answer =
        R"([{"stationuuid":"u1","name":"Loopback FM","url":"http://127.0.0.1:1/listen.pls",)"
        R"("url_resolved":")" + station.Url() +
        R"(","tags":"loopback,test","country":"Nowhere","codec":"MP3","bitrate":128,"hls":0,"votes":7}])";
    directory.SetHandler(
        [&](const test::RecordedRequest&) { return test::ScriptedResponse::Ok(answer, "application/json"); });
    ProgramSession session({}, false, [&](TzIniData& settings) {
        settings.WriteString("DirectoryServers", directory.Url(""));
    });
    ASSERT_NO_FATAL_FAILURE(session.Start());
    ui::TForm1& w = session.Window();

    bool added = false;
    session.answers.ThenAct([&](QWidget* dialog) {
        Click(dialog, "Search");
        QTreeWidget* results = nullptr;
        ASSERT_TRUE(WaitFor([&] {
            for (auto* list : dialog->findChildren<QTreeWidget*>())
                if (list->topLevelItemCount() == 1) results = list;
            return results != nullptr;
        }));
        EXPECT_EQ(results->topLevelItem(0)->text(0), "Loopback FM");
        ClickItem(results, results->topLevelItem(0));
        Click(dialog, "Add to Catalogue");
        added = true;
        Click(dialog, "Close");
    });
    Click(&w, "Find Stations");
    ASSERT_TRUE(WaitFor([&] { return added && session.answers.AllAnswered(); }));
    ASSERT_TRUE(WaitFor([&] { return FindItem(w.TeTreeView1, "loopback") != nullptr; }));
    EXPECT_EQ(w.lTotalRadioStations->text(), "1");

    ASSERT_NO_FATAL_FAILURE(PickStation(w, "loopback", "Loopback FM"));
    Click(&w, "Download this station");
    QTreeWidgetItem* row = w.TeListView1->topLevelItem(0);
    ASSERT_NE(row, nullptr);
    ASSERT_TRUE(WaitFor([&] { return row->text(4) == "Second Song"; }, 15000));
    EXPECT_EQ(ReadWhole(session.MusicFolder() + "loopback/First Song.mp3"), station.Song(0));
}

}  // namespace
}  // namespace wt::acceptance
