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
    for (std::size_t at = 0; at < size; at += chunk) cutter.Feed(data + at, std::min(chunk, size - at));
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::size_t chunk = 1 + data[0] % 97;
    const char* body = reinterpret_cast<const char*>(data + 1);
    const std::size_t bodySize = size - 1;

    const auto whole = Cut(body, bodySize, bodySize == 0 ? 1 : bodySize);
    const auto pieces = Cut(body, bodySize, chunk);
    if (whole != pieces) __builtin_trap();
    std::uint64_t next = 0;
    for (const auto& p : whole) {
        if (p.bytes.empty()) {
            if (p.position < next) __builtin_trap();  // a title names pages still to come
            continue;
        }
        if (p.position < next || p.position + p.bytes.size() > bodySize) __builtin_trap();
        if (p.bytes != std::string(body + p.position, p.bytes.size())) __builtin_trap();
        if (p.bytes.compare(0, 4, "OggS") != 0) __builtin_trap();
        next = p.position + p.bytes.size();
    }
    const auto* packet = reinterpret_cast<const unsigned char*>(body);
    (void)wt::OggCodecOfFirstPacket(packet, bodySize);
    for (auto codec : {wt::AudioKind::Vorbis, wt::AudioKind::Opus})
        if (auto title = wt::OggTitleOfComments(codec, packet, bodySize); title && title->size() > bodySize * 2)
            __builtin_trap();
    return 0;
}
