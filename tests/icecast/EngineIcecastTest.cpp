// The engine against a real Icecast2 server fed by ffmpeg: songs split by the titles set
// through the server's admin interface, each a valid MP3 that libmpg123 decodes.
#include "IcecastServer.h"
#include "engine/NetRadio.h"

#include <gtest/gtest.h>
#include <mpg123.h>

#include <unistd.h>

#include <filesystem>

namespace wt::test {
namespace {

namespace fs = std::filesystem;

// Decoded MP3 frames in the file; 0 when libmpg123 finds none.
long DecodedFrames(const fs::path& path) {
    mpg123_init();
    int error = 0;
    mpg123_handle* handle = mpg123_new(nullptr, &error);
    long frames = 0;
    if (handle && mpg123_open(handle, path.c_str()) == MPG123_OK) {
        unsigned char* audio = nullptr;
        std::size_t bytes = 0;
        off_t frameNumber = 0;
        for (;;) {
            int result = mpg123_decode_frame(handle, &frameNumber, &audio, &bytes);
            if (result == MPG123_OK) ++frames;
            else if (result != MPG123_NEW_FORMAT) break;
        }
        mpg123_close(handle);
    }
    if (handle) mpg123_delete(handle);
    return frames;
}

TEST(EngineWithIcecast, SongsSplitByTitleAreValidMp3) {
    if (!IcecastServer::Available()) GTEST_SKIP() << "icecast2 or ffmpeg not installed";
    IcecastServer server;
    ASSERT_TRUE(server.Start()) << server.Error();
    ASSERT_TRUE(server.SetTitle("First Song"));

    fs::path folder = fs::temp_directory_path() / ("wt-icecast-rip-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    QueueDispatcher dispatcher;
    std::vector<std::string> songs;
    bool ended = false;
    {
        TNetRadio radio(dispatcher);
        radio.OnNewSong = [&](TNetRadioChannel*, const std::string& title) { songs.push_back(title); };
        radio.OnChannelTerminating = [&](TNetRadioChannel*) { ended = true; };
        radio.StartRip(server.StreamUrl(), folder.string() + "/", "");
        ASSERT_TRUE(dispatcher.PumpUntil([&] { return songs.size() == 1; }, 10000));
        dispatcher.PumpFor(1500);
        ASSERT_TRUE(server.SetTitle("Second Song"));
        ASSERT_TRUE(dispatcher.PumpUntil([&] { return songs.size() == 2; }, 10000));
        // Half a second of audio or more in the second song.
        dispatcher.PumpUntil([&] { return fs::exists(folder / "Second Song.mp3") &&
                                          fs::file_size(folder / "Second Song.mp3") > 8000; }, 10000);
        radio.StopAll();
        ASSERT_TRUE(dispatcher.PumpUntil([&] { return ended; }, 5000));
        // The player decodes the same stream (into the null output on a machine without sound).
        std::vector<std::string> played;
        radio.OnPlayerTitle = [&](const std::string& title) { played.push_back(title); };
        radio.Play(server.StreamUrl());
        EXPECT_TRUE(dispatcher.PumpUntil([&] { return radio.Player()->DecodedFrames() > 20 && !played.empty(); }, 10000));
        EXPECT_EQ(played.front(), "Second Song");
        radio.StopPlaying();
        dispatcher.Close();
    }
    EXPECT_EQ(songs, (std::vector<std::string>{"First Song", "Second Song"}));
    EXPECT_GT(DecodedFrames(folder / "First Song.mp3"), 10);
    EXPECT_GT(DecodedFrames(folder / "Second Song.mp3"), 10);
    fs::remove_all(folder);
}

}  // namespace
}  // namespace wt::test
