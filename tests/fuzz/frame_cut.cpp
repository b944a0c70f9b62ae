// Stream bytes come from the network: any bytes must cut into frames without a crash, every
// frame handed on must be one whole frame by its own header, and the result must not depend
// on how the bytes arrive (the bytes between frames of a stream that lost its sync may come in
// pieces of any size, so runs of them are compared joined).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/AudioFrames.h"
#include "engine/FrameCutter.h"
#include "engine/StreamKind.h"
#include "PiecedInput.h"

namespace {

struct Piece {
    std::string bytes;
    std::uint64_t position;
    bool isFrame;
    bool operator==(const Piece&) const = default;
};

std::vector<Piece> Cut(const char* data, std::size_t size, std::size_t chunk) {
    std::vector<Piece> out;
    wt::FrameCutter cutter(std::nullopt, [&](const char* d, std::size_t n, std::uint64_t at, bool frame) {
        if (!frame && !out.empty() && !out.back().isFrame && out.back().position + out.back().bytes.size() == at)
            out.back().bytes.append(d, n);
        else
            out.push_back({std::string(d, n), at, frame});
    });
    wt::fuzz::FeedInPieces(data, size, chunk, [&](const char* piece, std::size_t n) { cutter.Feed(piece, n); });
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    wt::fuzz::PiecedInput input;
    if (!wt::fuzz::SplitInput(data, size, 13, input)) return 0;
    const char* body = input.body;
    const std::size_t bodySize = input.size;
    const auto whole = wt::fuzz::CutBothWays(input, Cut);
    std::uint64_t next = 0;
    for (const auto& p : whole) {
        // In order, within the input, and each piece where the input has those bytes.
        if (!wt::fuzz::InOrderFromInput(input, p.position, p.bytes, next)) __builtin_trap();
        if (p.isFrame) {
            const auto* bytes = reinterpret_cast<const std::uint8_t*>(p.bytes.data());
            auto mp3 = wt::ParseFrameHeader(wt::AudioKind::Mp3, bytes, p.bytes.size());
            auto aac = wt::ParseFrameHeader(wt::AudioKind::Aac, bytes, p.bytes.size());
            std::size_t length = mp3 ? mp3->length : aac ? aac->length : 0;
            if (length != p.bytes.size()) __builtin_trap();
        }
    }
    (void)wt::RefusalOfStream(std::string(body, std::min<std::size_t>(bodySize, 40)), std::string(body, bodySize));
    return 0;
}
