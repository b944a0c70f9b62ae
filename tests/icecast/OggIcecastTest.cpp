// The engine against a real Icecast2 server with Ogg Vorbis, Ogg Opus and AAC mounts: the
// Ogg sources send chained streams whose songs carry their titles in band; the AAC source is
// titled through the server's admin interface. Rips of all three run at once.
#include "AudioFileChecks.h"
#include "IcecastServer.h"
#include "engine/NetRadio.h"

#include <gtest/gtest.h>
#include <ogg/ogg.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <algorithm>
#include <map>

namespace wt::test {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Checks that bytes are Ogg pages from start to end, each logical stream's pages numbered one
// after the other (nothing doubled, nothing missing), and each logical stream starting with
// its first page. With joinedMidSong, the first stream may go on at any page after its header
// pages, once: the listener joined during that song and the server sent its burst.
::testing::AssertionResult WholePagesInSequence(const std::string& bytes, bool joinedMidSong) {
    ogg_sync_state sync;
    ogg_sync_init(&sync);
    char* buffer = ogg_sync_buffer(&sync, static_cast<long>(bytes.size()));
    std::copy(bytes.begin(), bytes.end(), buffer);
    ogg_sync_wrote(&sync, static_cast<long>(bytes.size()));
    std::map<int, long> lastSequence;
    std::size_t at = 0;
    bool jumpAllowed = joinedMidSong;
    ::testing::AssertionResult result = ::testing::AssertionSuccess();
    for (;;) {
        ogg_page page;
        const long got = ogg_sync_pageseek(&sync, &page);
        if (got == 0) break;
        if (got < 0) {
            result = ::testing::AssertionFailure() << -got << " bytes that are no page at " << at;
            break;
        }
        const int serial = ogg_page_serialno(&page);
        const long sequence = ogg_page_pageno(&page);
        auto last = lastSequence.find(serial);
        if (last == lastSequence.end() || (ogg_page_bos(&page) && sequence == 0)) {
            // A new logical stream (a chained stream may come round to a serial number again).
            if (!ogg_page_bos(&page) || sequence != 0) {
                result = ::testing::AssertionFailure() << "stream " << serial << " starts at page " << sequence;
                break;
            }
            jumpAllowed = jumpAllowed && lastSequence.empty();
            if (last != lastSequence.end()) jumpAllowed = false;
        } else if (sequence != last->second + 1) {
            if (!jumpAllowed || sequence <= last->second) {
                result = ::testing::AssertionFailure() << "page " << sequence << " after " << last->second << " at " << at;
                break;
            }
            jumpAllowed = false;
        }
        lastSequence[serial] = sequence;
        at += static_cast<std::size_t>(got);
    }
    if (result && at != bytes.size()) result = ::testing::AssertionFailure() << "a partial page at the end";
    ogg_sync_clear(&sync);
    return result;
}

// The packets of a file holding one logical stream, in order.
std::vector<std::string> PacketsOf(const std::string& bytes) {
    ogg_sync_state sync;
    ogg_sync_init(&sync);
    char* buffer = ogg_sync_buffer(&sync, static_cast<long>(bytes.size()));
    std::copy(bytes.begin(), bytes.end(), buffer);
    ogg_sync_wrote(&sync, static_cast<long>(bytes.size()));
    std::vector<std::string> packets;
    ogg_stream_state stream;
    bool started = false;
    ogg_page page;
    while (ogg_sync_pageout(&sync, &page) == 1) {
        if (!started) ogg_stream_init(&stream, ogg_page_serialno(&page));
        started = true;
        ogg_stream_pagein(&stream, &page);
        ogg_packet packet;
        while (ogg_stream_packetout(&stream, &packet) == 1)
            packets.emplace_back(reinterpret_cast<char*>(packet.packet), static_cast<std::size_t>(packet.bytes));
    }
    if (started) ogg_stream_clear(&stream);
    ogg_sync_clear(&sync);
    return packets;
}

TEST(EngineWithIcecast, OggAndAacMountsRipToPlayableSongsNamedByTheirTitles) {
    if (!IcecastServer::Available()) GTEST_SKIP() << "icecast2 or ffmpeg not installed";
    IcecastServer server;
    ASSERT_TRUE(server.Start()) << server.Error();
    const std::vector<OggSong> songs = {{"Artist One", "First", 3}, {"", "Second", 3}, {"Artist Three", "Third", 3}};
    std::map<std::string, OggSource*> sources;
    sources["vorbis.ogg"] = server.AddOggMount("/vorbis.ogg", "libvorbis", songs);
    ASSERT_TRUE(sources["vorbis.ogg"]) << server.Error();
    sources["opus.opus"] = server.AddOggMount("/opus.opus", "libopus", songs);
    ASSERT_TRUE(sources["opus.opus"]) << server.Error();
    ASSERT_TRUE(server.AddAacMount("/aac")) << server.Error();
    ASSERT_TRUE(server.SetTitle("AAC One", "/aac"));

    const fs::path folder = fs::temp_directory_path() / ("wt-icecast-ogg-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    QueueDispatcher dispatcher;
    std::map<std::string, std::vector<std::string>> titles;  // per folder
    int ended = 0;
    {
        TNetRadio radio(dispatcher);
        radio.OnNewSong = [&](TNetRadioChannel* channel, const std::string& title) {
            titles[channel->Folder()].push_back(title);
        };
        radio.OnChannelTerminating = [&](TNetRadioChannel*) { ++ended; };
        for (const char* mount : {"/vorbis.ogg", "/opus.opus", "/aac"})
            radio.StartRip(server.MountUrl(mount), (folder / (mount + 1)).string() + "/", "");
        // Every Ogg song comes round once whole: the rip sees the chain's first song again.
        auto sawAll = [&](const std::string& name) {
            const auto& seen = titles[(folder / name).string() + "/"];
            return seen.size() >= 4;
        };
        ASSERT_TRUE(dispatcher.PumpUntil([&] { return sawAll("vorbis.ogg") && sawAll("opus.opus"); }, 25000));
        ASSERT_TRUE(server.SetTitle("AAC Two", "/aac"));
        ASSERT_TRUE(dispatcher.PumpUntil([&] { return titles[(folder / "aac").string() + "/"].size() >= 2; }, 10000));
        // Half a second of audio or more in the second AAC song.
        dispatcher.PumpUntil([&] { return fs::exists(folder / "aac" / "AAC Two.aac") &&
                                          fs::file_size(folder / "aac" / "AAC Two.aac") > 8000; }, 10000);
        radio.StopAll();
        ASSERT_TRUE(dispatcher.PumpUntil([&] { return ended == 3; }, 5000));
        // The player decodes each mount (into the null output on a machine without sound);
        // an Ogg station's in-band titles reach the window.
        for (const char* mount : {"/vorbis.ogg", "/opus.opus", "/aac"}) {
            SCOPED_TRACE(mount);
            std::vector<std::string> played;
            radio.OnPlayerTitle = [&](const std::string& title) { played.push_back(title); };
            radio.Play(server.MountUrl(mount));
            EXPECT_TRUE(dispatcher.PumpUntil([&] { return radio.Player()->DecodedFrames() > 40 && !played.empty(); },
                                             10000));
            if (std::string(mount) != "/aac") {
                EXPECT_TRUE(played.empty() || played[0] == "Artist One - First" || played[0] == "Second" ||
                            played[0] == "Artist Three - Third") << played[0];
            }
            radio.StopPlaying();
        }
        dispatcher.Close();
    }

    for (const auto& [name, extension] : {std::pair<std::string, std::string>{"vorbis.ogg", ".ogg"}, {"opus.opus", ".opus"}}) {
        SCOPED_TRACE(name);
        const auto& seen = titles[(folder / name).string() + "/"];
        // The rip joins during some song and follows the chain from there.
        ASSERT_GE(seen.size(), 4u);
        const std::vector<std::string> chain = {"Artist One - First", "Second", "Artist Three - Third"};
        std::size_t first = std::find(chain.begin(), chain.end(), seen[0]) - chain.begin();
        ASSERT_LT(first, chain.size()) << seen[0];
        std::string joined;
        for (std::size_t i = 0; i < seen.size(); ++i) {
            EXPECT_EQ(seen[i], chain[(first + i) % 3]);
            // A repeated title gets the next free name.
            const std::string file = seen[i] + (i >= 3 ? " (2)" : "") + extension;
            ASSERT_TRUE(fs::exists(folder / name / file)) << file;
            const std::string bytes = ReadFile(folder / name / file);
            EXPECT_EQ(bytes.substr(0, 4), "OggS") << file;
            EXPECT_TRUE(WholePagesInSequence(bytes, i == 0)) << file;
            if (auto errors = FfmpegDecodeErrors((folder / name / file).string())) {
                EXPECT_EQ(*errors, "") << file;
            }
            // A whole song between the first and the last holds the source's song, packet for
            // packet (Icecast lays Vorbis headers out in pages of its own, so pages may differ).
            if (i > 0 && i + 1 < seen.size()) {
                EXPECT_TRUE(PacketsOf(bytes) == PacketsOf(sources[name]->Song((first + i) % 3))) << file;
            }
            joined += bytes;
        }
        EXPECT_TRUE(WholePagesInSequence(joined, true));
    }
    const auto& aac = titles[(folder / "aac").string() + "/"];
    ASSERT_GE(aac.size(), 2u);
    EXPECT_EQ(aac[0], "AAC One");
    EXPECT_EQ(aac[1], "AAC Two");
    for (const char* file : {"AAC One.aac", "AAC Two.aac"}) {
        ASSERT_TRUE(fs::exists(folder / "aac" / file)) << file;
        if (auto errors = FfmpegDecodeErrors((folder / "aac" / file).string())) {
            EXPECT_EQ(*errors, "") << file;
        }
    }
    if (!::testing::Test::HasFailure()) fs::remove_all(folder);
}

TEST(EngineWithIcecast, AnOggRipDroppedMidSongGoesOnWithNothingDoubled) {
    if (!IcecastServer::Available()) GTEST_SKIP() << "icecast2 or ffmpeg not installed";
    IcecastServer server;
    ASSERT_TRUE(server.Start()) << server.Error();
    OggSource* source = server.AddOggMount("/opus.opus", "libopus", {{"", "Long", 8}, {"", "Short", 2}});
    ASSERT_TRUE(source) << server.Error();

    const fs::path folder = fs::temp_directory_path() / ("wt-icecast-ogg-drop-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    QueueDispatcher dispatcher;
    std::vector<std::string> seen;
    int lost = 0, longs = 0;
    bool ended = false;
    {
        RipOptions options;
        options.firstPauseMs = 200;
        TNetRadio radio(dispatcher, options);
        radio.OnNewSong = [&](TNetRadioChannel*, const std::string& title) { seen.push_back(title); };
        radio.OnConnectionLost = [&](TNetRadioChannel*, const std::string&) { ++lost; };
        radio.OnChannelTerminating = [&](TNetRadioChannel*) { ended = true; };
        radio.StartRip(server.MountUrl("/opus.opus"), folder.string() + "/", "");
        // Wait for the long song to begin whole, then drop the listener in its middle: the
        // server starts the new connection with the song's header pages and its burst.
        ASSERT_TRUE(dispatcher.PumpUntil([&] { return !seen.empty() && seen.back() == "Long" && seen.size() >= 2; }, 20000));
        longs = static_cast<int>(std::count(seen.begin(), seen.end(), "Long"));
        dispatcher.PumpFor(3000);
        ASSERT_EQ(server.DropListeners("/opus.opus"), 1);
        ASSERT_TRUE(dispatcher.PumpUntil([&] { return lost >= 1 && seen.back() == "Short"; }, 20000));
        radio.StopAll();
        ASSERT_TRUE(dispatcher.PumpUntil([&] { return ended; }, 5000));
        dispatcher.Close();
    }
    // The long song recorded whole across the drop is the source's, packet for packet.
    const fs::path whole = folder / (longs > 1 ? "Long (2).opus" : "Long.opus");
    ASSERT_TRUE(fs::exists(whole));
    const std::string bytes = ReadFile(whole);
    EXPECT_TRUE(WholePagesInSequence(bytes, false));
    EXPECT_TRUE(PacketsOf(bytes) == PacketsOf(source->Song(0)));
    if (auto errors = FfmpegDecodeErrors(whole.string())) {
        EXPECT_EQ(*errors, "");
    }
    if (!::testing::Test::HasFailure()) fs::remove_all(folder);
}

}  // namespace
}  // namespace wt::test
