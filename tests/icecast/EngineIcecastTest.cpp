// The engine against a real Icecast2 server fed by ffmpeg: songs split by the titles set
// through the server's admin interface, each a valid MP3 that libmpg123 decodes.
#include "AudioFileChecks.h"
#include "IcecastServer.h"
#include "engine/AudioFrames.h"
#include "engine/NetRadio.h"

#include <gtest/gtest.h>
#include <mpg123.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

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

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Frames that occur more than once in the file. The server's source is noise, so any
// repeated frame is doubled audio. -1 when the file is not frames from start to end.
int RepeatedFrames(const fs::path& path) {
    std::string bytes = ReadFile(path);
    std::set<std::string> seen;
    int repeated = 0;
    for (std::size_t at = 0; at < bytes.size();) {
        auto header = ParseFrameHeader(AudioKind::Mp3, reinterpret_cast<const std::uint8_t*>(bytes.data()) + at,
                                       bytes.size() - at);
        if (!header || at + header->length > bytes.size()) return -1;
        if (!seen.insert(bytes.substr(at, header->length)).second) ++repeated;
        at += header->length;
    }
    return repeated;
}

void ExpectCleanMp3(const fs::path& path, bool decodes = true) {
    if (auto problems = test::Mp3valProblems(path.string())) {
        EXPECT_EQ(*problems, "") << path;
    }
    if (auto errors = test::FfmpegDecodeErrors(path.string()); errors && decodes) {
        EXPECT_EQ(*errors, "") << path;
    }
    EXPECT_EQ(RepeatedFrames(path), 0) << path;
}

// A rip of the server's stream with quick reconnection pauses, recording what the window
// would see.
struct IcecastRip : ::testing::Test {
    IcecastServer server;
    fs::path folder = fs::temp_directory_path() / ("wt-icecast-" + std::to_string(::getpid()) + "-" +
                                                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
    QueueDispatcher dispatcher;
    std::unique_ptr<TNetRadio> radio;
    std::vector<std::string> songs, statuses;
    bool ended = false;
    int lost = 0;

    void SetUp() override {
        if (!IcecastServer::Available()) GTEST_SKIP() << "icecast2 or ffmpeg not installed";
        ASSERT_TRUE(server.Start()) << server.Error();
        fs::remove_all(folder);
        RipOptions options;
        options.firstPauseMs = 200;
        options.maxPauseMs = 1000;
        radio = std::make_unique<TNetRadio>(dispatcher, options);
        radio->OnNewSong = [this](TNetRadioChannel*, const std::string& title) { songs.push_back(title); };
        radio->OnStatus = [this](TNetRadioChannel*, const std::string& status) { statuses.push_back(status); };
        radio->OnChannelTerminating = [this](TNetRadioChannel*) { ended = true; };
        radio->OnConnectionLost = [this](TNetRadioChannel*, const std::string&) { ++lost; };
    }
    void TearDown() override {
        dispatcher.Close();
        radio.reset();
        fs::remove_all(folder);
    }
    std::uintmax_t Size(const char* name) {
        std::error_code ec;
        auto size = fs::file_size(folder / name, ec);
        return ec ? 0 : size;
    }
    // Waits until the song's file has grown by `bytes` (files are flushed once a second).
    bool Grows(const char* name, std::uintmax_t bytes) {
        const auto from = Size(name);
        return dispatcher.PumpUntil([&] { return Size(name) >= from + bytes; }, 15000);
    }
    void Stop() {
        radio->StopAll();
        ASSERT_TRUE(dispatcher.PumpUntil([&] { return ended; }, 5000));
    }
};

TEST_F(IcecastRip, AnOutageOfTheServerIsRiddenOutInTheSameSongFile) {
    ASSERT_TRUE(server.SetTitle("Long Song"));
    radio->StartRip(server.StreamUrl(), folder.string() + "/", "");
    ASSERT_TRUE(dispatcher.PumpUntil([&] { return songs.size() == 1; }, 10000));
    ASSERT_TRUE(Grows("Long Song.mp3", 20000));
    server.Kill();
    // The server stays down until the rip has been refused again.
    ASSERT_TRUE(dispatcher.PumpUntil([&] { return lost >= 2; }, 10000));
    ASSERT_TRUE(server.Restart()) << server.Error();
    // The source starts over without a title, then the station names the same song again.
    ASSERT_TRUE(server.SetTitle("Long Song"));
    ASSERT_TRUE(dispatcher.PumpUntil([&] { return statuses.back() == "Ripping"; }, 20000));
    ASSERT_TRUE(Grows("Long Song.mp3", 20000));
    ASSERT_TRUE(server.SetTitle("Next Song"));
    ASSERT_TRUE(dispatcher.PumpUntil([&] { return songs.size() == 2; }, 10000));
    ASSERT_TRUE(Grows("Next Song.mp3", 20000));
    Stop();
    EXPECT_EQ(songs, (std::vector<std::string>{"Long Song", "Next Song"}));
    EXPECT_EQ(statuses.back(), "Stopped");
    // Two sources' streams joined at the outage: whole frames, nothing doubled. (A decoder
    // may stumble once where the new stream begins, so only the later song is decoded.)
    ExpectCleanMp3(folder / "Long Song.mp3", false);
    ExpectCleanMp3(folder / "Next Song.mp3");
}

TEST_F(IcecastRip, TheBurstReplayedOnReconnectingIsNotDoubled) {
    ASSERT_TRUE(server.SetTitle("Song"));
    radio->StartRip(server.StreamUrl(), folder.string() + "/", "");
    ASSERT_TRUE(dispatcher.PumpUntil([&] { return songs.size() == 1; }, 10000));
    ASSERT_TRUE(Grows("Song.mp3", 80000));  // more than the 64 KB burst
    for (int drop = 0; drop < 2; ++drop) {
        ASSERT_EQ(server.DropListeners(), 1);
        ASSERT_TRUE(dispatcher.PumpUntil([&] { return statuses.back() == "Reconnecting..."; }, 10000));
        ASSERT_TRUE(dispatcher.PumpUntil([&] { return statuses.back() == "Ripping"; }, 10000));
        ASSERT_TRUE(Grows("Song.mp3", 40000));
    }
    Stop();
    EXPECT_EQ(songs, std::vector<std::string>{"Song"});
    ExpectCleanMp3(folder / "Song.mp3");
}

TEST_F(IcecastRip, ARepeatedTitleKeepsBothRecordings) {
    ASSERT_TRUE(server.SetTitle("Hit"));
    radio->StartRip(server.StreamUrl(), folder.string() + "/", "");
    ASSERT_TRUE(dispatcher.PumpUntil([&] { return songs.size() == 1; }, 10000));
    ASSERT_TRUE(Grows("Hit.mp3", 16000));
    for (const char* title : {"Other", "Hit"}) {
        ASSERT_TRUE(server.SetTitle(title));
        ASSERT_TRUE(dispatcher.PumpUntil([&] { return songs.back() == title; }, 10000));
        ASSERT_TRUE(Grows(songs.size() == 2 ? "Other.mp3" : "Hit (2).mp3", 16000));
    }
    const auto firstSize = Size("Hit.mp3");
    ASSERT_TRUE(Grows("Hit (2).mp3", 8000));
    Stop();
    EXPECT_EQ(Size("Hit.mp3"), firstSize);
    for (const char* name : {"Hit.mp3", "Other.mp3", "Hit (2).mp3"}) ExpectCleanMp3(folder / name);
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
        // The server's burst of past audio may carry the earlier title first.
        EXPECT_TRUE(dispatcher.PumpUntil(
            [&] { return radio.Player()->DecodedFrames() > 20 && !played.empty() && played.back() == "Second Song"; },
            10000));
        radio.StopPlaying();
        dispatcher.Close();
    }
    EXPECT_EQ(songs, (std::vector<std::string>{"First Song", "Second Song"}));
    EXPECT_GT(DecodedFrames(folder / "First Song.mp3"), 10);
    EXPECT_GT(DecodedFrames(folder / "Second Song.mp3"), 10);
    for (const char* name : {"First Song.mp3", "Second Song.mp3"}) ExpectCleanMp3(folder / name);
    fs::remove_all(folder);
}

}  // namespace
}  // namespace wt::test
