// Rips from a scripted loopback station: the song files must hold exactly the audio sent
// after each title, split exactly where the next title arrived.
#include "AudioFileChecks.h"
#include "RipFixture.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

namespace wt {
namespace {

namespace fs = std::filesystem;
using test::IcySong;
using test::IcyTestServer;

TEST_F(RipFixture, EverySongLandsWholeInItsOwnFile) {
    IcyTestServer station({{"One: A/B", 3}, {"Two", 2}, {"Three", 3}});
    TNetRadioChannel* channel = radio->StartRip(station.Url(), folder.string() + "/Rock/", "");
    EXPECT_EQ(channel->ID, 1);
    ASSERT_TRUE(Pump([&] { return songs.size() == 3 && kb[1] == int(station.Song(2).size() >> 10); }))
        << songs.size() << " songs, " << kb[1] << " KB of " << station.Song(2).size() << " " << (statuses[1].empty() ? "" : statuses[1].back());
    EXPECT_TRUE(radio->IsRipping(station.Url()));
    radio->StopRip(1);
    ASSERT_TRUE(Pump([&] { return !ended.empty(); }));

    EXPECT_EQ(songs, (std::vector<std::string>{"One: A/B", "Two", "Three"}));
    EXPECT_EQ(statuses[1], (std::vector<std::string>{"Connecting...", "Connected", "Ripping", "Stopped"}));
    EXPECT_EQ(ReadFile(folder / "Rock/One_ A_B.mp3"), station.Song(0));  // the lead-in is not kept
    EXPECT_EQ(ReadFile(folder / "Rock/Two.mp3"), station.Song(1));
    EXPECT_EQ(ReadFile(folder / "Rock/Three.mp3"), station.Song(2));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder / "Rock"), {}), 3);
    for (const char* name : {"One_ A_B.mp3", "Two.mp3", "Three.mp3"}) {
        if (auto problems = test::Mp3valProblems((folder / "Rock" / name).string())) {
            EXPECT_EQ(*problems, "") << name;
        }
    }
    EXPECT_FALSE(radio->IsRipping(station.Url()));
}

TEST_F(RipFixture, ADroppedConnectionIsResumedIntoTheSameSong) {
    IcyTestServer station({{"Long Song", 6}, {"Next", 1}}, 2048, 0, /*dropAfterBlocks=*/3);
    radio->StartRip(station.Url(), folder.string() + "/", "");
    ASSERT_TRUE(Pump([&] { return songs.size() == 2; }));
    radio->StopAll();
    ASSERT_TRUE(Pump([&] { return !ended.empty(); }));
    EXPECT_GE(station.Connections(), 2);
    EXPECT_EQ(ReadFile(folder / "Long Song.mp3"), station.Song(0));
    EXPECT_EQ(songs, (std::vector<std::string>{"Long Song", "Next"}));
}

TEST_F(RipFixture, WishRipKeepsWishedSongsAndEndsAtTheFirstOther) {
    IcyTestServer station({{"THE BEATLES - HELP", 2}, {"Someone Else", 2}, {"Beatles Again", 1}});
    radio->StartRip(station.Url(), folder.string() + "/Wish List/", "madonna\r\nbeatles\r\n");
    ASSERT_TRUE(Pump([&] { return !ended.empty(); }));
    EXPECT_EQ(ReadFile(folder / "Wish List/THE BEATLES - HELP.mp3"), station.Song(0));
    EXPECT_FALSE(fs::exists(folder / "Wish List/Someone Else.mp3"));
    EXPECT_FALSE(fs::exists(folder / "Wish List/Beatles Again.mp3"));
    EXPECT_EQ(statuses[1].back(), "Stopped");
}

TEST_F(RipFixture, WishRipLetsTheBurstOfTheSongBeforeGoAndStillEndsAtAnUnwishedSongThatPlaysOn) {
    // A rip started as the wished song begins first hears the server's burst: the end of the
    // song before, under its title. That title ends the rip only when it is still playing once
    // the burst (at most 128 KB) is over.
    IcyTestServer burst({{"Previous - Song", 4}, {"The Beatles - Help", 2}, {"Someone Else", 2}});
    radio->StartRip(burst.Url(), folder.string() + "/Wish List/", "beatles\r\n");
    ASSERT_TRUE(Pump([&] { return !ended.empty(); }));
    EXPECT_EQ(ReadFile(folder / "Wish List/The Beatles - Help.mp3"), burst.Song(1));
    EXPECT_FALSE(fs::exists(folder / "Wish List/Previous - Song.mp3"));
    EXPECT_FALSE(fs::exists(folder / "Wish List/Someone Else.mp3"));
    EXPECT_EQ(songs, (std::vector<std::string>{"The Beatles - Help", "Someone Else"}));

    ended.clear();
    songs.clear();
    IcyTestServer playsOn({{"Someone Else", 80}, {"The Beatles - Help", 2}});
    radio->StartRip(playsOn.Url(), folder.string() + "/Wish List 2/", "beatles\r\n");
    ASSERT_TRUE(Pump([&] { return !ended.empty(); }));
    EXPECT_EQ(songs, std::vector<std::string>{"Someone Else"});
    EXPECT_TRUE(!fs::exists(folder / "Wish List 2") || fs::is_empty(folder / "Wish List 2"))
        << "the first unwished song ends the rip, even when a wished one follows";
}

TEST_F(RipFixture, TwoChannelsOnOneSongNameEachGetAFileOfTheirOwn) {
    IcyTestServer station({{"Same", 40}}, 2048, 20);
    radio->StartRip(station.Url(), folder.string() + "/", "");
    ASSERT_TRUE(Pump([&] { return songs.size() == 1; }));
    IcyTestServer other({{"Same", 20}}, 2048, 20);
    radio->StartRip(other.Url(), folder.string() + "/", "");
    ASSERT_TRUE(Pump([&] { return songs.size() == 2 && std::filesystem::exists(folder / "Same (2).mp3") &&
                                  std::filesystem::file_size(folder / "Same (2).mp3") > 0; }));
    EXPECT_GT(std::filesystem::file_size(folder / "Same.mp3"), 0u);
    EXPECT_TRUE(ended.empty()) << "neither rip was stopped";
    EXPECT_EQ(statuses[2], (std::vector<std::string>{"Connecting...", "Connected", "Ripping"}));
}

TEST_F(RipFixture, UnreachableStationIsTriedAgainBeforeItCannotBePlayed) {
    radio->StartRip("http://127.0.0.1:9/none", folder.string() + "/", "");
    radio->StartRip("file:///etc/passwd", folder.string() + "/", "");  // never retried
    ASSERT_TRUE(Pump([&] { return ended.size() == 2; }));
    EXPECT_EQ(statuses[1], (std::vector<std::string>{"Connecting...", "Reconnecting...", "Can't play this stream.",
                                                     "Stopped"}));
    EXPECT_EQ(statuses[2], (std::vector<std::string>{"Connecting...", "Can't play this stream.", "Stopped"}));
}

TEST_F(RipFixture, IdsAreLowestFreeFirstUpToTheLimit) {
    // A station that accepts connections and never answers keeps every rip connecting.
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::listen(fd, 512);
    std::string url = "http://127.0.0.1:" + std::to_string(ntohs(addr.sin_port)) + "/";

    for (int i = 1; i <= TNetRadio::kMaxRips; ++i) EXPECT_EQ(radio->StartRip(url, folder.string() + "/", "")->ID, i);
    try {
        radio->StartRip(url, folder.string() + "/", "");
        FAIL() << "a 199th rip started";
    } catch (const ERipLimit& error) {
        EXPECT_STREQ(error.what(), "You have reached the rip limit Wave Trap can support.");
    }
    radio->StopRip(57);
    ASSERT_TRUE(Pump([&] { return !ended.empty(); }));
    EXPECT_EQ(radio->StartRip(url, folder.string() + "/", "")->ID, 57);
    radio->StopAll();
    ASSERT_TRUE(Pump([&] { return ended.size() == TNetRadio::kMaxRips + 1; }));
    ::close(fd);
}

}  // namespace
}  // namespace wt

namespace wt {
namespace {

// A real MP3 made by lame, for the player: a short tone.
std::string MakeMp3(const fs::path& folder) {
    fs::create_directories(folder);
    std::string path = (folder / "tone.mp3").string();
    std::string command = "ffmpeg -hide_banner -loglevel error -y -f lavfi -i sine=frequency=440:duration=2 "
                          "-c:a libmp3lame -b:a 128k " + path;
    return std::system(command.c_str()) == 0 ? path : std::string();
}

TEST_F(RipFixture, PlayerDecodesAFileAndAStationWithoutASoundDevice) {
    std::string mp3 = MakeMp3(folder);
    if (mp3.empty()) GTEST_SKIP() << "ffmpeg not installed";
    radio->PlayFile(mp3);
    ASSERT_TRUE(Pump([&] { return radio->Player()->Finished(); }));
    EXPECT_GT(radio->Player()->DecodedFrames(), 50);  // 2 s of 26 ms frames

    // A station's titles reach the window while it plays (its test audio is not MP3, so
    // nothing decodes; the real MP3 stream case is the Icecast test's).
    IcyTestServer station({{"Tone", 4}}, 2048);
    std::vector<std::string> titles;
    radio->OnPlayerTitle = [&](const std::string& t) { titles.push_back(t); };
    radio->Play(station.Url());
    ASSERT_TRUE(Pump([&] { return !titles.empty(); }));
    EXPECT_EQ(titles, std::vector<std::string>{"Tone"});
    radio->StopPlaying();
    radio->StopPlaying();  // nothing playing: nothing happens
}

}  // namespace
}  // namespace wt
