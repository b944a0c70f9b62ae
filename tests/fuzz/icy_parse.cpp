// The stream body and its metadata come from the network: any bytes must split without a
// crash, and the split must not depend on how the bytes arrive.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/IcyParser.h"

namespace {

struct Split {
    std::string audio;
    std::vector<std::string> meta;
};

Split Demux(std::size_t metaInt, const char* data, std::size_t size, std::size_t chunk) {
    Split out;
    wt::IcyDemuxer demuxer(
        metaInt, [&](const char* bytes, std::size_t n) { out.audio.append(bytes, n); },
        [&](const std::string& text) { out.meta.push_back(text); });
    for (std::size_t at = 0; at < size; at += chunk)
        demuxer.Feed(data + at, std::min(chunk, size - at));
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    // The first byte picks the metadata interval, the second the size of the arriving pieces.
    const std::size_t metaInt = data[0];
    const std::size_t chunk = 1 + data[1] % 7;
    const char* body = reinterpret_cast<const char*>(data + 2);
    const std::size_t bodySize = size - 2;

    const Split whole = Demux(metaInt, body, bodySize, bodySize == 0 ? 1 : bodySize);
    const Split pieces = Demux(metaInt, body, bodySize, chunk);
    if (whole.audio != pieces.audio || whole.meta != pieces.meta) __builtin_trap();
    if (whole.audio.size() > bodySize) __builtin_trap();

    for (const std::string& text : whole.meta) {
        const auto title = wt::ExtractStreamTitle(text);
        if (title && title->size() > text.size()) __builtin_trap();
    }
    (void)wt::ExtractStreamTitle(std::string(body, bodySize));
    (void)wt::ParseMetaInt(std::string(body, bodySize), 0);
    return 0;
}
