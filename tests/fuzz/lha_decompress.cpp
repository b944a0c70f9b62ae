// Decompresses arbitrary bytes: the decoder must never read or write outside its tables, and
// either refuse the stream with ECorruptFile or yield exactly the promised length. The same
// bytes, compressed and decompressed, must come back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "settings/LHARoutines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> stream(data, data + size);
    // Keep the promised length small enough for quick runs; the decoder itself takes any.
    if (stream.size() >= 4) stream[2] = stream[3] = 0;
    std::int64_t promised = stream.size() >= 4 ? (stream[0] | (stream[1] << 8)) : 0;
    try {
        const auto out = wt::DecompressBytes(stream);
        if (!stream.empty() && static_cast<std::int64_t>(out.size()) != promised) std::abort();
    } catch (const wt::ECorruptFile&) {
    }

    const std::vector<std::uint8_t> input(data, data + size);
    if (wt::DecompressBytes(wt::CompressBytes(input)) != input) std::abort();
    return 0;
}
