// What the player decodes comes from the network or from a song file: any bytes, in pieces
// of any size, must decode (or be skipped) without a crash, whichever decoder they pick.
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/AudioDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::size_t chunk = 1 + data[0] % 251;
    const char* body = reinterpret_cast<const char*>(data + 1);
    const std::size_t bodySize = size - 1;
    std::atomic<long> frames{0};
    std::atomic<bool> stop{false};
    auto decoder = wt::MakeDecoderForStream(data[0] & 1 ? "application/ogg" : "", [](const std::string&) {});
    for (std::size_t at = 0; at < bodySize; at += chunk)
        decoder->Feed(body + at, std::min(chunk, bodySize - at), frames, stop);
    decoder->Finish(frames, stop);
    return 0;
}
