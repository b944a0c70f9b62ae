// Ogg streams come from the network: any bytes must cut into pages without a crash, every
// page handed on must be where the input holds those bytes and start with the capture
// pattern, titles must come before the pages they name, and the result must not depend on
// how the bytes arrive. The comment parser is run on every input on its own as well.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/OggComments.h"
#include "engine/OggCutter.h"
#include "PiecedInput.h"

namespace {

struct Piece {
    std::string bytes;  // a page, or "" for a title
    std::string title;
    std::uint64_t position;
    bool operator==(const Piece&) const = default;
};

std::vector<Piece> Cut(const char* data, std::size_t size, std::size_t chunk) {
    std::vector<Piece> out;
    wt::OggCutter cutter([&](const char* d, std::size_t n, std::uint64_t at, bool) { out.push_back({std::string(d, n), {}, at}); },
                         [&](const std::string& title, std::uint64_t at) { out.push_back({{}, title, at}); });
    wt::fuzz::FeedInPieces(data, size, chunk, [&](const char* piece, std::size_t n) { cutter.Feed(piece, n); });
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    wt::fuzz::PiecedInput input;
    if (!wt::fuzz::SplitInput(data, size, 97, input)) return 0;
    const char* body = input.body;
    const std::size_t bodySize = input.size;
    const auto whole = wt::fuzz::CutBothWays(input, Cut);
    std::uint64_t next = 0;
    for (const auto& p : whole) {
        if (p.bytes.empty()) {
            if (p.position < next) __builtin_trap();  // a title names pages still to come
            continue;
        }
        if (!wt::fuzz::InOrderFromInput(input, p.position, p.bytes, next)) __builtin_trap();
        if (p.bytes.compare(0, 4, "OggS") != 0) __builtin_trap();
    }
    const auto* packet = reinterpret_cast<const unsigned char*>(body);
    (void)wt::OggCodecOfFirstPacket(packet, bodySize);
    for (auto codec : {wt::AudioKind::Vorbis, wt::AudioKind::Opus})
        if (auto title = wt::OggTitleOfComments(codec, packet, bodySize); title && title->size() > bodySize * 2)
            __builtin_trap();
    return 0;
}
