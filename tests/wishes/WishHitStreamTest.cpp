// From a wish to a live station: the search reports a station once it starts playing a wished
// song, and the address its playlist gives is a stream that announces that song.
#include <gtest/gtest.h>

#include "DirectoryTestServer.h"
#include "IcecastServer.h"
#include "platform/Dispatcher.h"
#include "wishes/NetWishObjects.h"

namespace wt {
namespace {

// Reads the stream with metadata requested until its first metadata block and returns the
// block's text (or "" when none came within maxBytes).
std::string FirstStreamMetadata(const net::HttpClient& client, const std::string& url, size_t maxBytes = 1 << 20) {
    net::HttpOptions options;
    options.headers = {"Icy-MetaData: 1"};
    options.totalTimeoutMs = 10000;
    size_t metaint = 0, audioLeft = 0, received = 0;
    std::string pending, metadata;
    bool done = false;
    auto sink = [&](std::string_view bytes) {
        received += bytes.size();
        pending.append(bytes);
        while (!done && !pending.empty()) {
            if (audioLeft > 0) {
                const size_t n = std::min(audioLeft, pending.size());
                pending.erase(0, n);
                audioLeft -= n;
                continue;
            }
            const size_t length = static_cast<unsigned char>(pending[0]) * 16u;
            if (pending.size() < 1 + length) break;
            metadata = pending.substr(1, length);
            pending.erase(0, 1 + length);
            audioLeft = metaint;
            done = !metadata.empty();
        }
        return !done && received < maxBytes;
    };
    try {
        client.Get(url, sink, options, [&](const net::HttpResponseHead& head) {
            metaint = std::strtoul(head.Header("icy-metaint").c_str(), nullptr, 10);
            audioLeft = metaint;
        });
    } catch (const net::HttpError&) {
        // The sink stops the endless stream once it has what it needs.
    }
    return metadata;
}

TEST(WishHitStream, AReportedStationStreamsTheWishedSong) {
    if (!test::IcecastServer::Available()) GTEST_SKIP() << "icecast2 or ffmpeg not installed";
    test::IcecastServer station;
    ASSERT_TRUE(station.Start()) << station.Error();
    ASSERT_TRUE(station.SetTitle("Intro Jingle"));

    test::DirectoryTestServer directory;
    const int id = directory.AddStation({"Beatles Forever FM", "Oldies", "Intro Jingle", station.StreamUrl(), std::nullopt});
    net::HttpClient client;
    QueueDispatcher gui;
    WishSearchContext context{&client, &gui, directory.RootUrl(), 20, {}};
    std::vector<TWishInfo> hits;
    {
        TNetWishObject search("beatles", context);
        search.OnWishFound = [&](TNetWishObject*, const TWishInfo& info) { hits.push_back(info); };
        search.Resume();
        // Closed before the search ends, also when an assertion leaves early.
        struct CloseOnExit {
            QueueDispatcher& d;
            ~CloseOnExit() { d.Close(); }
        } closer{gui};
        ASSERT_TRUE(gui.PumpUntil([&] { return search.Passes() >= 2; }, 10000));
        EXPECT_TRUE(hits.empty());

        ASSERT_TRUE(station.SetTitle("THE BEATLES - HELP"));
        directory.SetNowPlaying(id, "THE BEATLES - HELP");
        ASSERT_TRUE(gui.PumpUntil([&] { return !hits.empty(); }, 10000));
    }
    EXPECT_EQ(hits[0].Station, "Beatles Forever FM");
    EXPECT_EQ(hits[0].URL, station.StreamUrl());
    const std::string metadata = FirstStreamMetadata(client, hits[0].URL);
    EXPECT_NE(metadata.find("StreamTitle='THE BEATLES - HELP';"), std::string::npos) << metadata;
}

}  // namespace
}  // namespace wt
