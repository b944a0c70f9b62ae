// The player decodes every kind of stream we rip, from a station and from a song file (the
// preview of a song still being ripped plays what has been written so far). Without a sound
// server the null output takes the samples; the decoded frames are counted.
#include "LoopbackHttpServer.h"
#include "RipFixture.h"

#include <cstdlib>

namespace wt {
namespace {

using test::LoopbackHttpServer;
using test::ScriptedResponse;

// A 3 s tone made by ffmpeg, with a title where the format carries one.
std::string MakeTone(const fs::path& folder, const std::string& name, const std::string& codec) {
    fs::create_directories(folder);
    const std::string path = (folder / name).string();
    const std::string command = "ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i sine=frequency=440:duration=3 " +
                                codec + " -metadata ARTIST=Tone -metadata TITLE='In Band' " + path;
    return std::system(command.c_str()) == 0 ? path : std::string();
}

struct Kind {
    const char* file;
    const char* codec;
    const char* contentType;
    long frames;        // frames in 3 s
    const char* title;  // announced in the stream itself, or ""
};

const Kind kKinds[] = {
    {"tone.aac", "-c:a aac -b:a 64k -f adts", "audio/aacp", 3 * 44100 / 1024, ""},
    {"tone.ogg", "-c:a libvorbis", "application/ogg", 3 * 44100 / 1024, "Tone - In Band"},
    {"tone.opus", "-c:a libopus -b:a 48k", "audio/ogg", 3 * 50, "Tone - In Band"},
};

TEST_F(RipFixture, PlayerDecodesAacAndOggStationsAndFiles) {
    for (const auto& kind : kKinds) {
        SCOPED_TRACE(kind.file);
        const std::string path = MakeTone(folder, kind.file, kind.codec);
        if (path.empty()) GTEST_SKIP() << "ffmpeg not installed";
        const std::string bytes = ReadFile(path);

        // A whole file, then one cut off in the middle of a frame or page (still growing): its
        // whole frames or pages play (ffmpeg writes Ogg pages of up to a second).
        radio->PlayFile(path);
        ASSERT_TRUE(Pump([&] { return radio->Player()->Finished(); }));
        EXPECT_GE(radio->Player()->DecodedFrames(), kind.frames * 9 / 10);
        EXPECT_LE(radio->Player()->DecodedFrames(), kind.frames + 3);
        std::ofstream(path + ".part", std::ios::binary) << bytes.substr(0, bytes.size() * 3 / 4 + 7);
        radio->PlayFile(path + ".part");
        ASSERT_TRUE(Pump([&] { return radio->Player()->Finished(); }));
        EXPECT_GE(radio->Player()->DecodedFrames(), kind.frames / 4);
        EXPECT_LT(radio->Player()->DecodedFrames(), kind.frames);

        // A station sending the file's bytes in pieces.
        LoopbackHttpServer station;
        ScriptedResponse response = ScriptedResponse::Ok(bytes, kind.contentType);
        response.chunkSize = 997;
        station.Route("/", response);
        std::vector<std::string> titles;
        radio->OnPlayerTitle = [&](const std::string& title) { titles.push_back(title); };
        radio->Play(station.Url("/"));
        ASSERT_TRUE(Pump([&] { return radio->Player()->Finished(); }));
        EXPECT_GE(radio->Player()->DecodedFrames(), kind.frames * 9 / 10);
        if (*kind.title) {
            EXPECT_EQ(titles, std::vector<std::string>{kind.title});
        }
        radio->StopPlaying();
    }
}

}  // namespace
}  // namespace wt
