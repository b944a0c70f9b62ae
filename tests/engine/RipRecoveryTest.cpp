// Rips that meet the real network's trouble: untitled stretches and repeated titles, dropped
// connections with and without replayed audio, answers that are not radio streams, and
// folders or disks that refuse the songs.
#include "AudioFileChecks.h"
#include "FaultyFileSystem.h"
#include "LoopbackHttpServer.h"
#include "RipFixture.h"
#include "engine/StreamKind.h"

#include <sys/mount.h>

#include <cstdlib>

namespace wt {
namespace {

using test::IcySong;
using test::IcyTestServer;
using test::LoopbackHttpServer;
using test::ScriptedResponse;

std::vector<std::string> FilesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(RipFixture, AnUntitledStretchStaysInTheSongAndARepeatedTitleGetsAFileOfItsOwn) {
    IcyTestServer station({{"A", 2}, {"", 2}, {"B", 1}, {"A", 2}, {"C", 1}});
    radio->StartRip(station.Url(), folder.string() + "/", "");
    ASSERT_TRUE(Pump([&] { return songs.size() == 4 && kb[1] == int(station.Song(4).size() >> 10); }));
    radio->StopAll();
    ASSERT_TRUE(Pump([&] { return !ended.empty(); }));
    EXPECT_EQ(songs, (std::vector<std::string>{"A", "B", "A", "C"}));
    EXPECT_EQ(FilesIn(folder), (std::vector<std::string>{"A (2).mp3", "A.mp3", "B.mp3", "C.mp3"}));
    EXPECT_EQ(ReadFile(folder / "A.mp3"), station.Song(0) + station.Song(1));
    EXPECT_EQ(ReadFile(folder / "B.mp3"), station.Song(2));
    EXPECT_EQ(ReadFile(folder / "A (2).mp3"), station.Song(3));
    EXPECT_EQ(ReadFile(folder / "C.mp3"), station.Song(4));
}

TEST_F(RipFixture, ReplayedAudioAfterAReconnectionIsNotDoubled) {
    // Every connection ends after three blocks and the next starts with the last one again.
    IcyTestServer station({{"Long Song", 7}, {"Next", 2}}, 2048, 0, 3, /*replayOnReconnect=*/true);
    radio->StartRip(station.Url(), folder.string() + "/", "");
    ASSERT_TRUE(Pump([&] { return songs.size() == 2; }));
    radio->StopAll();
    ASSERT_TRUE(Pump([&] { return !ended.empty(); }));
    EXPECT_GE(station.Connections(), 3);
    EXPECT_EQ(ReadFile(folder / "Long Song.mp3"), station.Song(0));
    EXPECT_NE(std::find(statuses[1].begin(), statuses[1].end(), "Reconnecting..."), statuses[1].end());
}

TEST_F(RipFixture, AStalledStreamIsReconnected) {
    RipOptions options = FastRetries();
    options.stallSeconds = 1;
    options.firstByteTimeoutMs = 500;
    radio = std::make_unique<TNetRadio>(dispatcher, options);
    SetUp();
    // One server stops every answer after its first bytes; the other accepts and never answers.
    ScriptedResponse silentAfterAWhile = ScriptedResponse::Ok(IcyTestServer({{"Song", 1}}).Song(0), "audio/mpeg");
    silentAfterAWhile.stallAfter = 1000;
    ScriptedResponse neverAnswers;
    neverAnswers.stallBeforeHead = true;
    for (const auto& response : {silentAfterAWhile, neverAnswers}) {
        LoopbackHttpServer station;
        station.Route("/", response);
        statuses.clear();
        ended.clear();
        radio->StartRip(station.Url("/"), folder.string() + "/", "");
        ASSERT_TRUE(Pump([&] { return station.RequestCount() >= 2; }));
        radio->StopAll();
        ASSERT_TRUE(Pump([&] { return !ended.empty(); }));
        EXPECT_NE(std::find(statuses[1].begin(), statuses[1].end(), "Reconnecting..."), statuses[1].end());
        station.ReleaseStalls();
    }
}

TEST_F(RipFixture, AnswersThatAreNotRadioStreamsEndTheRipWithTheReasonAtOnce) {
    std::string noise(80 * 1024, '\x11');
    struct Case {
        const char* contentType;
        std::string body;
        std::string status;
    } cases[] = {
        {"text/html; charset=utf-8", "<html><body>Listen on our site</body></html>", kRefusedWebPage},
        {"", "\n<!DOCTYPE html><html></html>", kRefusedWebPage},
        {"application/vnd.apple.mpegurl", "#EXTM3U\n#EXT-X-VERSION:3\nseg1.ts\n", kRefusedPlaylist},
        {"audio/mpeg", "#EXTM3U\nhttp://127.0.0.1/x.mp3\n", kRefusedPlaylist},
        {"video/mp4", noise, kRefusedVideo},
        {"application/ogg", "OggS" + noise, kRefusedNoAudio},
        {"audio/mpeg", noise, kRefusedNoAudio},
    };
    for (const auto& c : cases) {
        LoopbackHttpServer server;
        auto response = ScriptedResponse::Ok(c.body, c.contentType);
        if (!*c.contentType) response.headers.clear();
        server.Route("/", response);
        statuses.clear();
        ended.clear();
        radio->StartRip(server.Url("/"), folder.string() + "/", "");
        ASSERT_TRUE(Pump([&] { return !ended.empty(); })) << c.status;
        // Refused on its headers at once, or on its first bytes just after connecting.
        const auto& seen = statuses[1];
        ASSERT_GE(seen.size(), 3u);
        EXPECT_EQ(std::vector<std::string>(seen.end() - 2, seen.end()), (std::vector<std::string>{c.status, "Stopped"}))
            << c.body.substr(0, 20);
        EXPECT_EQ(std::find(seen.begin(), seen.end(), "Reconnecting..."), seen.end());
        EXPECT_EQ(server.RequestCount(), 1u) << c.status;
    }
    EXPECT_FALSE(fs::exists(folder) && !fs::is_empty(folder));
}

TEST_F(RipFixture, AFolderThatCannotBeWrittenIsShownAndADeletedOneIsMadeAgain) {
    // "One" lasts 1.5 s, longer than the writer goes without a flush (which finds the loss).
    IcyTestServer station({{"One", 15}, {"Two", 5}, {"Three", 5}, {"Four", 3}}, 2048, 100);
    fs::path genre = folder / "Rock";
    radio->StartRip(station.Url(), genre.string() + "/", "");
    ASSERT_TRUE(Pump([&] { return songs.size() == 1; }));
    // The genre folder goes away while "One" is written, and a file takes its place.
    fs::remove_all(genre);
    { std::ofstream(genre.string()) << "in the way"; }
    ASSERT_TRUE(Pump([&] { return !statuses[1].empty() && statuses[1].back() == "Cannot write to " + genre.string(); }));
    fs::remove(genre);
    ASSERT_TRUE(Pump([&] { return songs.size() >= 3; }));
    radio->StopAll();
    ASSERT_TRUE(Pump([&] { return !ended.empty(); }));
    // "Two" (or "Three", when the file was still in the way at Two's start) is back in a new folder.
    EXPECT_TRUE(fs::exists(genre / "Two.mp3") || fs::exists(genre / "Three.mp3"));
    EXPECT_EQ(statuses[1].back(), "Stopped");
    EXPECT_NE(std::find(statuses[1].begin(), statuses[1].end(), "Ripping"), statuses[1].end());
}

TEST_F(RipFixture, AFullDiskStopsTheRipKeepingWhatWasWritten) {
    fs::create_directories(folder);
    if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") != 0) GTEST_SKIP() << "cannot mount a small tmpfs here";
    IcyTestServer station({{"Big Song", 60}}, 2048, 5);
    radio->StartRip(station.Url(), folder.string() + "/", "");
    ASSERT_TRUE(Pump([&] { return !ended.empty(); }));
    const auto size = fs::file_size(folder / "Big Song.mp3");
    EXPECT_EQ(statuses[1], (std::vector<std::string>{"Connecting...", "Connected", "Ripping", "Disk full. Stopped", "Stopped"}));
    EXPECT_GT(size, 16u * 1024);
    EXPECT_EQ(ReadFile(folder / "Big Song.mp3"), station.Song(0).substr(0, size));
    EXPECT_EQ(kb[1], int(size >> 10));  // the bytes that did not fit are not counted
    ::umount(folder.c_str());
}

TEST_F(RipFixture, AFaultyDiskShowsAsTheRipsStatusAndNothingUnwrittenIsCounted) {
    // The same faults as a real full disk or a deleted folder, at a moment the test chooses.
    struct Case {
        const char* name;
        std::function<void(test::FaultyFileSystem&, const std::string& folder)> fault;
        std::vector<std::string> statuses;
    };
    const Case cases[] = {
        {"disk full", [](test::FaultyFileSystem& d, const std::string&) { d.FillAfter(20000); },
         {"Connecting...", "Connected", "Ripping", "Disk full. Stopped", "Stopped"}},
        {"folder gone", [](test::FaultyFileSystem& d, const std::string& f) { d.Vanish(f); },
         {"Connecting...", "Connected", "Ripping", "Cannot write to " + folder.string() + "/Gone", "Stopped"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(folder);
        statuses.clear();
        ended.clear();
        songs.clear();
        test::FaultyFileSystem disk;
        RipOptions options = FastRetries();
        options.files = &disk;
        radio = std::make_unique<TNetRadio>(dispatcher, options);
        SetUp();
        const std::string genre = folder.string() + "/Gone";
        c.fault(disk, genre);
        IcyTestServer station({{"Big Song", 60}, {"Next", 5}}, 2048, 20);
        radio->StartRip(station.Url(), genre + "/", "");
        if (c.statuses[3] == "Disk full. Stopped") {
            ASSERT_TRUE(Pump([&] { return !ended.empty(); }));
            const auto size = fs::file_size(genre + "/Big Song.mp3");
            EXPECT_EQ(size, 20000u);  // what fitted stays
            EXPECT_EQ(ReadFile(genre + "/Big Song.mp3"), station.Song(0).substr(0, size));
            EXPECT_EQ(kb[1], int(size >> 10));
        } else {
            ASSERT_TRUE(Pump([&] { return statuses[1].size() >= 4; }));
            radio->StopAll();
            ASSERT_TRUE(Pump([&] { return !ended.empty(); }));
            EXPECT_FALSE(fs::exists(genre + "/Big Song.mp3"));
        }
        EXPECT_EQ(statuses[1], c.statuses);
    }
}

TEST_F(RipFixture, AWishRipIsOneGivenWishesWhateverItsFolderIsCalled) {
    IcyTestServer station({{"First", 2}, {"Second", 1}}, 2048);
    radio->StartRip(station.Url(), folder.string() + "/Wish List/", "");
    ASSERT_TRUE(Pump([&] { return songs.size() == 2; }));
    EXPECT_FALSE(radio->Channels().front()->IsWishChannel());
    EXPECT_TRUE(radio->IsRipping(station.Url()));
    radio->StopAll();
    ASSERT_TRUE(Pump([&] { return !ended.empty(); }));
    EXPECT_EQ(ReadFile(folder / "Wish List/First.mp3"), station.Song(0));

    IcyTestServer wished({{"Wished Song", 1}, {"Other", 1}}, 2048);
    ended.clear();
    radio->StartRip(wished.Url(), folder.string() + "/Rock/", "wished");
    EXPECT_TRUE(radio->Channels().front()->IsWishChannel());
    ASSERT_TRUE(Pump([&] { return !ended.empty(); }));
    EXPECT_EQ(FilesIn(folder / "Rock"), std::vector<std::string>{"Wished Song.mp3"});
}

}  // namespace
}  // namespace wt

namespace wt {
namespace {

// An ICY body: the audio with a metadata block after every metaInt bytes, naming the title
// that titles[k] gives for block k (an empty text block when it names none).
std::string IcyBody(const std::string& audio, std::size_t metaInt, const std::map<std::size_t, std::string>& titles) {
    std::string body;
    for (std::size_t at = 0, block = 0; at < audio.size(); at += metaInt, ++block) {
        body += audio.substr(at, metaInt);
        auto title = titles.find(block + 1);
        std::string text = title == titles.end() ? "" : "StreamTitle='" + title->second + "';";
        std::size_t length = (text.size() + 15) / 16;
        text.resize(length * 16, '\0');
        body += static_cast<char>(length) + text;
    }
    return body;
}

TEST_F(RipFixture, AnAacStationIsRippedToAacFilesCutBetweenAdtsFrames) {
    fs::create_directories(folder);
    const std::string aac = (folder / "tone.aac").string();
    const std::string make = "ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i anoisesrc=d=6:color=pink "
                             "-c:a aac -b:a 64k -f adts " + aac;
    if (std::system(make.c_str()) != 0) GTEST_SKIP() << "ffmpeg cannot make AAC here";
    const std::string audio = ReadFile(aac);
    fs::remove(aac);
    const std::size_t metaInt = 8192;
    // Stations often label AAC as audio/mpeg: the frames decide.
    LoopbackHttpServer station;
    ScriptedResponse response;
    response.statusLine = "ICY 200 OK";
    response.headers = {{"Content-Type", "audio/mpeg"}, {"icy-metaint", std::to_string(metaInt)}};
    response.body = IcyBody(audio.substr(100), metaInt, {{1, "Song A"}, {3, "Song B"}});
    response.announceLength = false;
    response.stallAfter = response.body.size();  // then silent, as a live station between writes
    station.Route("/", response);
    radio->StartRip(station.Url("/"), folder.string() + "/", "");
    ASSERT_TRUE(Pump([&] { return songs.size() == 2 && fs::exists(folder / "Song B.aac"); }));
    // Everything has come when the two files hold the rest of the stream from Song A's start.
    ASSERT_TRUE(Pump([&] {
        const std::string a = ReadFile(folder / "Song A.aac");
        const std::size_t at = a.size() < 64 ? std::string::npos : audio.find(a.substr(0, 64));
        return at != std::string::npos && a.size() + fs::file_size(folder / "Song B.aac") == audio.size() - at;
    }));
    radio->StopAll();
    ASSERT_TRUE(Pump([&] { return !ended.empty(); }));
    station.ReleaseStalls();

    EXPECT_EQ(FilesIn(folder), (std::vector<std::string>{"Song A.aac", "Song B.aac"}));
    const std::string a = ReadFile(folder / "Song A.aac"), b = ReadFile(folder / "Song B.aac");
    ASSERT_GE(a.size(), 2u);
    ASSERT_GE(b.size(), 2u);
    // Each file starts with an ADTS frame; joined they are the stream from Song A's first frame.
    EXPECT_EQ(static_cast<unsigned char>(a[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(b[0]), 0xFF);
    const std::size_t start = audio.find(a.substr(0, 64));
    ASSERT_NE(start, std::string::npos);
    EXPECT_GE(start, 100 + metaInt);  // not before the title
    EXPECT_LT(start, 100 + metaInt + 2048);
    EXPECT_EQ(audio.substr(start, a.size() + b.size()), a + b);
    for (const char* name : {"Song A.aac", "Song B.aac"}) {
        if (auto errors = test::FfmpegDecodeErrors((folder / name).string())) {
            EXPECT_EQ(*errors, "") << name;
        }
    }
}

}  // namespace
}  // namespace wt
