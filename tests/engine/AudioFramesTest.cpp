// Frame headers and the frame cutter: songs are cut between frames, whatever the network's
// pieces, and a stream's bytes from its first frame on are all handed on.
#include "engine/AudioFrames.h"
#include "engine/FrameCutter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace wt {
namespace {

std::optional<FrameHeader> Parse(AudioKind kind, std::vector<std::uint8_t> bytes) {
    return ParseFrameHeader(kind, bytes.data(), bytes.size());
}

TEST(AudioFrames, HeadersGiveTheFrameLengthOrAreRefused) {
    struct Case {
        const char* what;
        AudioKind kind;
        std::vector<std::uint8_t> bytes;
        std::size_t length;  // 0: refused
    } cases[] = {
        {"MPEG-1 III 128k 44.1k", AudioKind::Mp3, {0xFF, 0xFB, 0x90, 0x44}, 417},
        {"same, padded", AudioKind::Mp3, {0xFF, 0xFB, 0x92, 0x44}, 418},
        {"MPEG-1 III 320k 48k", AudioKind::Mp3, {0xFF, 0xFB, 0xE4, 0x00}, 960},
        {"MPEG-2 III 64k 22.05k", AudioKind::Mp3, {0xFF, 0xF3, 0x80, 0x00}, 208},
        {"MPEG-2.5 III 8k 8k", AudioKind::Mp3, {0xFF, 0xE3, 0x18, 0x00}, 72},
        {"MPEG-1 II 192k 48k", AudioKind::Mp3, {0xFF, 0xFD, 0xA4, 0x00}, 576},
        {"MPEG-1 I 32k 32k", AudioKind::Mp3, {0xFF, 0xFF, 0x18, 0x00}, 48},
        {"free format", AudioKind::Mp3, {0xFF, 0xFB, 0x00, 0x00}, 0},
        {"bad bit rate", AudioKind::Mp3, {0xFF, 0xFB, 0xF0, 0x00}, 0},
        {"reserved sample rate", AudioKind::Mp3, {0xFF, 0xFB, 0x9C, 0x00}, 0},
        {"reserved version", AudioKind::Mp3, {0xFF, 0xEB, 0x90, 0x00}, 0},
        {"reserved layer", AudioKind::Mp3, {0xFF, 0xF9, 0x90, 0x00}, 0},
        {"reserved emphasis", AudioKind::Mp3, {0xFF, 0xFB, 0x90, 0x02}, 0},
        {"no sync", AudioKind::Mp3, {0xFE, 0xFB, 0x90, 0x44}, 0},
        {"too short", AudioKind::Mp3, {0xFF, 0xFB, 0x90}, 0},
        {"ADTS is not MPEG audio", AudioKind::Mp3, {0xFF, 0xF1, 0x50, 0x80, 0x2E, 0x7F}, 0},
        {"ADTS LC 44.1k, 369 bytes", AudioKind::Aac, {0xFF, 0xF1, 0x50, 0x80, 0x2E, 0x3F, 0xFC}, 369},
        {"ADTS with CRC", AudioKind::Aac, {0xFF, 0xF0, 0x50, 0x80, 0x2E, 0x3F, 0xFC}, 369},
        {"ADTS shorter than its header", AudioKind::Aac, {0xFF, 0xF1, 0x50, 0x80, 0x00, 0xBF, 0xFC}, 0},
        {"ADTS reserved sample rate", AudioKind::Aac, {0xFF, 0xF1, 0x7C, 0x80, 0x2E, 0x3F, 0xFC}, 0},
        {"MPEG audio is not ADTS", AudioKind::Aac, {0xFF, 0xFB, 0x90, 0x44, 0, 0, 0}, 0},
    };
    for (const auto& c : cases) {
        auto header = Parse(c.kind, c.bytes);
        EXPECT_EQ(header ? header->length : 0, c.length) << c.what;
    }
}

// A stream of frames of the given lengths (MPEG-1 III 44.1k: 417 or 418 bytes; payload
// bytes below 0xFF), to be cut.
struct Frames {
    std::string bytes;
    std::vector<std::size_t> starts;
    explicit Frames(int count, std::uint8_t seed = 1) {
        for (int i = 0; i < count; ++i) {
            bool padded = (i + seed) % 2;
            starts.push_back(bytes.size());
            bytes += std::string("\xFF\xFB", 2) + char(padded ? 0x92 : 0x90) + char(0x44);
            for (int b = 4; b < (padded ? 418 : 417); ++b) bytes += char((b * 7 + i + seed) % 0xFF);
        }
    }
};

struct Piece {
    std::string bytes;
    std::uint64_t position;
    bool isFrame;
    bool operator==(const Piece&) const = default;
};

std::vector<Piece> Cut(const std::string& stream, std::size_t chunk) {
    std::vector<Piece> out;
    FrameCutter cutter(std::nullopt, [&](const char* d, std::size_t n, std::uint64_t at, bool frame) {
        out.push_back({std::string(d, n), at, frame});
    });
    for (std::size_t at = 0; at < stream.size(); at += chunk)
        cutter.Feed(stream.data() + at, std::min(chunk, stream.size() - at));
    return out;
}

TEST(FrameCutter, HandsOnWholeFramesFromTheFirstOneOnHoweverTheBytesArrive) {
    Frames frames(12);
    // Joined mid-frame, with a false sync (0xFF 0xFB ...) in the partial frame before.
    std::string lead = std::string("\x01\xFF\xFB\x90\x44\x02\x03", 7) + frames.bytes.substr(300, 117);
    std::string stream = lead + frames.bytes;
    for (std::size_t chunk : {1u, 3u, 416u, 1000u, 100000u}) {
        auto pieces = Cut(stream, chunk);
        ASSERT_EQ(pieces.size(), 12u) << chunk;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            std::size_t length = (i + 1 < 12 ? frames.starts[i + 1] : frames.bytes.size()) - frames.starts[i];
            EXPECT_EQ(pieces[i], (Piece{frames.bytes.substr(frames.starts[i], length), lead.size() + frames.starts[i], true}))
                << "chunk " << chunk << " frame " << i;
        }
    }
}

TEST(FrameCutter, KeepsTheBytesOfALostSyncAndFindsTheFramesAgain) {
    Frames first(4), second(4, 2);
    std::string junk = "junk between frames";
    std::string stream = first.bytes + junk + second.bytes;
    auto pieces = Cut(stream, 500);
    std::string joined;
    for (const auto& p : pieces) joined += p.bytes;
    // Everything from the first frame on, nothing left out or doubled.
    EXPECT_EQ(joined, stream);
    ASSERT_GE(pieces.size(), 5u);
    EXPECT_FALSE(pieces[4].isFrame);
    EXPECT_EQ(pieces[4].bytes, junk);
}

TEST(FrameCutter, TellsWhetherANewConnectionCarriesOnTheFrameInProgress) {
    Frames frames(6);
    FrameCutter cutter(AudioKind::Mp3, [](const char*, std::size_t, std::uint64_t, bool) {});
    const std::size_t cut = frames.starts[3] + 100;  // inside the fourth frame
    cutter.Feed(frames.bytes.data(), cut);
    EXPECT_TRUE(cutter.Continues(std::string_view(frames.bytes).substr(cut)));
    EXPECT_FALSE(cutter.Continues(std::string_view(frames.bytes).substr(cut + 1)));
    EXPECT_FALSE(cutter.Continues(std::string_view(frames.bytes).substr(frames.starts[1])));
    cutter.Restart();
    EXPECT_FALSE(cutter.Continues(std::string_view(frames.bytes).substr(cut)));
}

}  // namespace
}  // namespace wt
