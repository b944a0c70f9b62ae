#include "wishes/WishAPI.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "DirectoryTestServer.h"

namespace wt {
namespace {

using test::DirectoryTestServer;
using test::LoopbackHttpServer;
using test::ScriptedResponse;

TEST(WishApi, SearchPageResolvesEachStationThroughItsOwnPlaylist) {
    DirectoryTestServer directory;
    directory.AddStation({"Beat FM", "Pop", "The Beatles - Help", "http://127.0.0.1:9/beat", std::nullopt});
    directory.AddStation({"Oldies", "Oldies", "BEATLES - Yesterday", "https://127.0.0.1:9/old", std::nullopt});
    directory.AddStation({"Jazz", "Jazz", "Miles - So What", "http://127.0.0.1:9/jazz", std::nullopt});
    net::HttpClient client;

    std::string page;
    DownloadURL(client, page, DirectorySearchUrl(directory.RootUrl(), "beatles"));
    const TNetWishLists hits = ParseDirectoryPage(client, PageText(page), directory.RootUrl());

    ASSERT_EQ(hits.Count(), 2);
    EXPECT_EQ(hits.Items(0).Station, "Beat FM");
    EXPECT_EQ(hits.Items(0).URL, "http://127.0.0.1:9/beat");
    EXPECT_EQ(hits.Items(1).Station, "Oldies");
    EXPECT_EQ(hits.Items(1).URL, "https://127.0.0.1:9/old");
    const auto requests = directory.Http().Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].Header("User-Agent"), "Delphi Function: Download");
    EXPECT_EQ(requests[1].target, "//sbin/shoutcast-playlist.pls?rn=1&file=filename.pls");
}

TEST(WishApi, WishTextIsEscapedInTheSearchRequest) {
    DirectoryTestServer directory;
    net::HttpClient client;
    for (const std::string wish : {"rock & roll", "a+b=c #1", "AC/DC?", "caf\xC3\xA9 del mar"}) {
        std::string page;
        DownloadURL(client, page, DirectorySearchUrl(directory.RootUrl(), wish));
        ASSERT_FALSE(directory.Searches().empty());
        EXPECT_EQ(directory.Searches().back(), wish);
    }
    EXPECT_EQ(directory.Http().Requests().at(0).target, "/directory/?s=rock%20%26%20roll");
}

TEST(WishApi, PlaylistsThatCannotServeGiveAnEmptyAddress) {
    DirectoryTestServer directory;
    auto playlistOf = [&](std::string body) {
        return directory.AddStation({"S", "G", "Song", "", std::move(body)});
    };
    const int noFile1 = playlistOf("[playlist]\nTitle1=x\nNumberOfEntries=1\n");
    const int localFile = playlistOf("[playlist]\nFile1=file:///etc/passwd\n");
    const int good = playlistOf("[PLAYLIST]\nfile1=http://127.0.0.1:1/live\n");
    net::HttpClient client;
    auto resolve = [&](int id) { return ResolvePlaylist(client, directory.RootUrl() + DirectoryTestServer::PlaylistLink(id)); };

    EXPECT_EQ(resolve(noFile1), "");
    EXPECT_EQ(resolve(localFile), "");
    EXPECT_EQ(resolve(good), "http://127.0.0.1:1/live");
    EXPECT_EQ(resolve(99), "");  // 404

    // A playlist address that answers with an endless stream is cut off, not read forever.
    LoopbackHttpServer endless;
    ScriptedResponse stream = ScriptedResponse::Ok(std::string(1 << 20, 'x'), "audio/mpeg");
    stream.stallAfter = (1 << 20) - 1;
    endless.Route("/stream.pls", stream);
    EXPECT_EQ(ResolvePlaylist(client, endless.Url("/stream.pls")), "");
}

TEST(WishApi, ConcurrentResolutionsEachReadTheirOwnPlaylist) {
    DirectoryTestServer directory;
    constexpr int kStations = 12;
    for (int i = 1; i <= kStations; ++i)
        directory.AddStation({"S", "G", "Song", "http://127.0.0.1:9/s" + std::to_string(i), std::nullopt});
    net::HttpClient client;

    std::vector<std::string> results(kStations * 4);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int i = 1; i <= kStations; ++i)
                results[t * kStations + i - 1] =
                    ResolvePlaylist(client, directory.RootUrl() + DirectoryTestServer::PlaylistLink(i));
        });
    for (auto& t : threads) t.join();
    for (int t = 0; t < 4; ++t)
        for (int i = 1; i <= kStations; ++i)
            EXPECT_EQ(results[t * kStations + i - 1], "http://127.0.0.1:9/s" + std::to_string(i));
}

TEST(WishApi, DownloadUrlAppendsWhatArrivesAndStaysSilentOnFailure) {
    LoopbackHttpServer server;
    ScriptedResponse cut = ScriptedResponse::Ok("partial page");
    cut.contentLength = 500;
    server.Route("/cut", cut);
    server.Route("/gone", ScriptedResponse::Status(500, "Internal Server Error", "oops"));
    server.Route("/ok", ScriptedResponse::Ok("body"));
    net::HttpClient client;

    std::string stream = "before:";
    DownloadURL(client, stream, server.Url("/ok"), "X-One: 1\r\nX-Two: 2");
    EXPECT_EQ(stream, "before:body");
    EXPECT_EQ(server.Requests().back().Header("X-Two"), "2");
    DownloadURL(client, stream, server.Url("/gone"));
    EXPECT_EQ(stream, "before:body");
    DownloadURL(client, stream, server.Url("/cut"));
    EXPECT_EQ(stream, "before:bodypartial page");
    DownloadURL(client, stream, "file:///etc/passwd");
    EXPECT_EQ(stream, "before:bodypartial page");
}

TEST(WishApi, DownloadFileReplacesTheFileOrLeavesNone) {
    LoopbackHttpServer server;
    server.Route("/list.pls", ScriptedResponse::Ok("[playlist]\nFile1=http://x/\n"));
    const auto dir = std::filesystem::temp_directory_path() / ("wt-wishes-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "Temp.tmp").string();
    std::ofstream(path) << "an older download";
    net::HttpClient client;

    EXPECT_TRUE(DownloadFile(client, server.Url("/list.pls"), path));
    std::ifstream in(path);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "[playlist]\nFile1=http://x/\n");
    EXPECT_FALSE(DownloadFile(client, server.Url("/missing"), path));
    EXPECT_FALSE(std::filesystem::exists(path));
    std::filesystem::remove_all(dir);
}

TEST(PageText, JoinsLinesWithCrLfAndEndsAtNul) {
    EXPECT_EQ(PageText("a\nb\r\nc\rd"), "a\r\nb\r\nc\r\nd\r\n");
    EXPECT_EQ(PageText(std::string("one\ntwo\0three", 13)), "one\r\ntwo\r\n");
    EXPECT_EQ(PageText(""), "");
}

}  // namespace
}  // namespace wt
