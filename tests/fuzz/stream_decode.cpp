// What the player decodes comes from the network or from a song file: any bytes, in pieces
// of any size, must decode (or be skipped) without a crash, whichever decoder they pick.
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/AudioDecoder.h"
#include "PiecedInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    wt::fuzz::PiecedInput input;
    if (!wt::fuzz::SplitInput(data, size, 251, input)) return 0;
    std::atomic<long> frames{0};
    std::atomic<bool> stop{false};
    auto decoder = wt::MakeDecoderForStream(data[0] & 1 ? "application/ogg" : "", [](const std::string&) {});
    wt::fuzz::FeedInPieces(input.body, input.size, input.chunk,
                           [&](const char* piece, std::size_t n) { decoder->Feed(piece, n, frames, stop); });
    decoder->Finish(frames, stop);
    return 0;
}
