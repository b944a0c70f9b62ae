// Rips of Ogg streams served from loopback: titles from the comment headers of a chained
// stream, songs cut between pages, and the odd streams stations and networks produce.
#include "LoopbackHttpServer.h"
#include "OggTestStream.h"
#include "RipFixture.h"
#include "engine/OggCutter.h"
#include "engine/StreamKind.h"

namespace wt {
namespace {

using test::LoopbackHttpServer;
using test::MakeOggLink;
using test::OggBytes;
using test::OggLink;
using test::ScriptedResponse;

// Compares file contents without printing them (they are binary).
::testing::AssertionResult SameBytes(const std::string& actual, const std::string& expected) {
    if (actual == expected) return ::testing::AssertionSuccess();
    std::size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
    return ::testing::AssertionFailure() << actual.size() << " bytes where " << expected.size()
                                         << " were expected, first difference at " << at;
}

std::vector<std::string> FilesIn(const fs::path& folder) {
    std::vector<std::string> names;
    if (!fs::exists(folder)) return names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct OggRip : RipFixture {
    LoopbackHttpServer station;  // for tests that script their own answers

    // Serves body as one Ogg stream (in small timed pieces, as a station sends it) and rips
    // it until the connection has ended once.
    std::size_t requests = 0;
    void Rip(const std::string& body, const std::string& contentType = "application/ogg") {
        LoopbackHttpServer fresh;
        ScriptedResponse response = ScriptedResponse::Ok(body, contentType);
        response.chunkSize = 1500;
        fresh.Route("/", response);
        radio->StartRip(fresh.Url("/"), folder.string() + "/", "");
        ASSERT_TRUE(Pump([&] { return fresh.RequestCount() >= 2 || !ended.empty(); }));
        requests = fresh.RequestCount();
        radio->StopAll();
        ASSERT_TRUE(Pump([&] { return !ended.empty(); }));
    }
};

TEST_F(OggRip, AChainedStreamGivesEachLogicalStreamItsOwnFileNamedByItsComments) {
    const OggBytes one = MakeOggLink({AudioKind::Opus, {"ARTIST=Artist A", "TITLE=One"}}, 11);
    const OggBytes two = MakeOggLink({AudioKind::Opus, {"title=Two", "ALBUM=Ignored"}}, 12);
    const OggBytes three = MakeOggLink({AudioKind::Vorbis, {"TITLE=Three", "Artist=B\nC"}}, 13);
    Rip(one.bytes + two.bytes + three.bytes);
    EXPECT_EQ(songs, (std::vector<std::string>{"Artist A - One", "Two", "B C - Three"}));
    EXPECT_EQ(FilesIn(folder), (std::vector<std::string>{"Artist A - One.opus", "B C - Three.ogg", "Two.opus"}));
    // Each file is its logical stream exactly: header pages first, every page once.
    EXPECT_TRUE(SameBytes(ReadFile(folder / "Artist A - One.opus"), one.bytes));
    EXPECT_TRUE(SameBytes(ReadFile(folder / "Two.opus"), two.bytes));
    EXPECT_TRUE(SameBytes(ReadFile(folder / "B C - Three.ogg"), three.bytes));
}

TEST_F(OggRip, OddStreamsKeepEveryGoodPageInOrder) {
    const OggBytes titled = MakeOggLink({AudioKind::Vorbis, {"TITLE=Song"}}, 21);
    const OggBytes untitled = MakeOggLink({AudioKind::Vorbis, {"ARTIST=Only an artist"}}, 22);
    const OggBytes noComment = MakeOggLink({AudioKind::Opus, {}, 3, /*commentHeader=*/false}, 23);
    // A picture in the comments makes a comment packet that spans many pages.
    const OggBytes huge = MakeOggLink({AudioKind::Opus, {"METADATA_BLOCK_PICTURE=" + std::string(300000, 'P'), "TITLE=Big"}}, 24);
    OggBytes broken = MakeOggLink({AudioKind::Opus, {"TITLE=Broken"}}, 25);
    const std::size_t page = broken.pageStarts[3], pageEnd = broken.pageStarts[4];
    std::string damaged = broken.bytes;
    damaged[page + (pageEnd - page) / 2] ^= 0x55;  // fails the page's checksum
    const std::string withoutDamaged = broken.bytes.substr(0, page) + broken.bytes.substr(pageEnd);

    struct Case {
        const char* name;
        std::string body;
        std::vector<std::string> songs;
        std::map<std::string, std::string> files;
    } cases[] = {
        // Streams that name no title go on into the song before them (a chained Ogg file).
        {"untitled after titled", titled.bytes + untitled.bytes + noComment.bytes, {"Song"},
         {{"Song.ogg", titled.bytes + untitled.bytes + noComment.bytes}}},
        {"nothing before the first title", noComment.bytes + titled.bytes, {"Song"}, {{"Song.ogg", titled.bytes}}},
        {"huge comment", huge.bytes, {"Big"}, {{"Big.opus", huge.bytes}}},
        {"broken page checksum", damaged, {"Broken"}, {{"Broken.opus", withoutDamaged}}},
        {"bytes between pages", titled.bytes.substr(0, titled.pageStarts[3]) + "garbage" +
                                    titled.bytes.substr(titled.pageStarts[3]), {"Song"}, {{"Song.ogg", titled.bytes}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(folder);
        songs.clear();
        ended.clear();
        Rip(c.body);
        EXPECT_EQ(songs, c.songs);
        std::vector<std::string> names;
        for (const auto& [name, bytes] : c.files) {
            names.push_back(name);
            EXPECT_TRUE(SameBytes(ReadFile(folder / name), bytes)) << name;
        }
        EXPECT_EQ(FilesIn(folder), names);
    }
}

TEST_F(OggRip, BytesThatAreNotOggAfterTheCapturePatternEndTheRip) {
    Rip("OggS" + std::string(80 * 1024, '\x11'), "audio/ogg");
    EXPECT_NE(std::find(statuses[1].begin(), statuses[1].end(), kRefusedNoAudio), statuses[1].end());
    EXPECT_EQ(requests, 1u);
    EXPECT_TRUE(FilesIn(folder).empty());
}

TEST_F(OggRip, AReconnectionThatResendsTheHeadersGoesOnInTheSameFileWithoutThem) {
    // Icecast begins every connection with the stream's header pages; the second connection
    // then goes on where the first one stopped.
    const OggBytes link = MakeOggLink({AudioKind::Opus, {"TITLE=Long Song"}, 8}, 31);
    const OggBytes next = MakeOggLink({AudioKind::Opus, {"TITLE=Next"}}, 32);
    const std::size_t cut = link.pageStarts[5];
    const std::string first = link.bytes.substr(0, cut);
    const std::string second = link.bytes.substr(0, link.headerBytes) + link.bytes.substr(cut) + next.bytes;
    int served = 0;
    station.SetHandler([&](const test::RecordedRequest&) {
        ScriptedResponse response = ScriptedResponse::Ok(served++ == 0 ? first : second, "application/ogg");
        response.chunkSize = 1000;
        return response;
    });
    radio->StartRip(station.Url("/"), folder.string() + "/", "");
    ASSERT_TRUE(Pump([&] { return station.RequestCount() >= 3 || !ended.empty(); }));
    radio->StopAll();
    ASSERT_TRUE(Pump([&] { return !ended.empty(); }));
    EXPECT_EQ(songs, (std::vector<std::string>{"Long Song", "Next"}));
    EXPECT_TRUE(SameBytes(ReadFile(folder / "Long Song.opus"), link.bytes));
    EXPECT_TRUE(SameBytes(ReadFile(folder / "Next.opus"), next.bytes));
}

TEST(OggCutter, PagesComeOutWholeWhateverPiecesTheBytesArriveIn) {
    const OggBytes one = MakeOggLink({AudioKind::Vorbis, {"TITLE=A"}}, 41);
    const OggBytes two = MakeOggLink({AudioKind::Opus, {"TITLE=B"}}, 42);
    const std::string stream = one.bytes + two.bytes;
    for (std::size_t piece : {std::size_t(1), std::size_t(7), std::size_t(4096), stream.size()}) {
        std::string joined, events;
        OggCutter cutter(
            [&](const char* data, std::size_t size, std::uint64_t position, bool) {
                EXPECT_EQ(position, joined.size());
                EXPECT_EQ(std::string(data, 4), "OggS");
                joined.append(data, size);
            },
            [&](const std::string& title, std::uint64_t position) {
                events += title + "@" + std::to_string(position) + " ";
            });
        for (std::size_t at = 0; at < stream.size(); at += piece)
            cutter.Feed(stream.data() + at, std::min(piece, stream.size() - at));
        EXPECT_TRUE(SameBytes(joined, stream)) << piece;
        EXPECT_EQ(events, "A@0 B@" + std::to_string(one.bytes.size()) + " ") << piece;
        EXPECT_EQ(cutter.Kind(), AudioKind::Opus);
    }
}

}  // namespace
}  // namespace wt
