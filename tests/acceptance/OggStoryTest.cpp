// A user records an Ogg Opus station whose songs carry their titles in the stream, sees each
// song in the Downloading list and on disk, and previews the song being ripped.
#include "ProgramSession.h"

#include "LoopbackHttpServer.h"

#include <QLabel>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace wt::acceptance {
namespace {

namespace fs = std::filesystem;

enum Column { kCaption, kBitRate, kStatus, kRipped, kSong, kKb };

// An Opus song made by ffmpeg with its title (and artist) in its comments; "" on failure.
std::string MakeSong(const fs::path& folder, const std::string& file, const std::string& metadata, int seconds) {
    const fs::path path = folder / file;
    const std::string command = "ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i anoisesrc=color=pink:"
                                "amplitude=0.3:sample_rate=48000:duration=" + std::to_string(seconds) +
                                " -c:a libopus -b:a 64k " + metadata + " -f ogg " + path.string();
    return std::system(command.c_str()) == 0 ? ReadWhole(path.string()) : std::string();
}

TEST(OggStory, AnOggStationRipsEachSongUnderItsInBandTitleAndItsSongPreviews) {
    test::TempFolder made;
    const std::string first = MakeSong(made.Path(), "a.opus", "-metadata ARTIST=Band -metadata TITLE=Opening", 3);
    const std::string second = MakeSong(made.Path(), "b.opus", "-metadata TITLE=Closing", 30);
    if (first.empty() || second.empty()) GTEST_SKIP() << "ffmpeg with libopus not installed";
    // The station sends its chained stream at about the pace it plays (64 kbit/s).
    test::LoopbackHttpServer server;
    auto response = test::ScriptedResponse::Ok(first + second, "application/ogg");
    response.chunkSize = 1000;
    response.chunkDelayMs = 100;
    server.Route("/ogg", response);

    ProgramSession session({Station("Ambient", "Ogg FM", 64, server.Url("/ogg"))});
    ASSERT_NO_FATAL_FAILURE(session.Start());
    ui::TForm1& w = session.Window();
    ASSERT_NO_FATAL_FAILURE(PickStation(w, "Ambient", "Ogg FM"));
    Click(&w, "Download this station");
    ASSERT_EQ(w.TeListView1->topLevelItemCount(), 1);
    QTreeWidgetItem* row = w.TeListView1->topLevelItem(0);
    ASSERT_TRUE(WaitFor([&] { return row->text(kSong) == "Band - Opening"; }, 10000));
    EXPECT_EQ(row->text(kStatus), "Ripping");
    ASSERT_TRUE(WaitFor([&] { return row->text(kSong) == "Closing"; }, 20000));
    EXPECT_EQ(row->text(kRipped), "1");

    // The first song's file is its stream exactly: header pages first, every page once.
    const std::string folder = session.MusicFolder() + "Ambient/";
    EXPECT_TRUE(ReadWhole(folder + "Band - Opening.opus") == first);
    const std::string growing = folder + "Closing.opus";
    ASSERT_TRUE(WaitFor([&] { return fs::exists(growing) && fs::file_size(growing) > 12000; }, 10000));

    // Preview plays what has been written of the song (no sound server: the audio goes nowhere).
    ContextMenu(w.TeListView1, row, "Preview This Song");
    EXPECT_EQ(w.lNowPlaying->text(), "Ogg FM: Closing");
    EXPECT_TRUE(WaitFor([&] { return w.Radio->Player() && w.Radio->Player()->DecodedFrames() > 20; }, 5000));
    Click(&w, "Stop playing");

    Click(&w, "Stop ripping");
    ASSERT_TRUE(WaitFor([&] { return w.TeListView1->topLevelItemCount() == 0; }, 10000));
    const std::string kept = ReadWhole(growing);
    EXPECT_GT(kept.size(), 12000u);
    EXPECT_TRUE(second.compare(0, kept.size(), kept) == 0) << "the interrupted song keeps its pages as received";
    EXPECT_EQ(session.answers.Seen(), QStringList{});
}

}  // namespace
}  // namespace wt::acceptance
