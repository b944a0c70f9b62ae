#pragma once
// Fuzz inputs for parsers that take a stream in pieces: the first byte chooses the size of
// the pieces the rest arrives in, so that a target can check that the result does not depend
// on how the bytes arrive.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace wt::fuzz {

struct PiecedInput {
    const char* body;
    std::size_t size;
    std::size_t chunk;  // 1 .. maxChunk
};

// False for an empty input.
inline bool SplitInput(const std::uint8_t* data, std::size_t size, std::size_t maxChunk, PiecedInput& input) {
    if (size < 1) return false;
    input = {reinterpret_cast<const char*>(data + 1), size - 1, 1 + data[0] % maxChunk};
    return true;
}

// Calls feed(piece, pieceSize) for each piece of the bytes in order.
template <class Feed>
void FeedInPieces(const char* data, std::size_t size, std::size_t chunk, Feed&& feed) {
    for (std::size_t at = 0; at < size; at += chunk) feed(data + at, std::min(chunk, size - at));
}

// Cuts the body whole and in the input's pieces with cut(data, size, chunk); traps when the
// two results differ, and returns the result.
template <class Cut>
auto CutBothWays(const PiecedInput& input, Cut&& cut) {
    auto whole = cut(input.body, input.size, input.size == 0 ? 1 : input.size);
    if (whole != cut(input.body, input.size, input.chunk)) __builtin_trap();
    return whole;
}

// Whether bytes handed on at position follow the ones before (next: where they ended) and are
// the input's own bytes there; moves next past them.
inline bool InOrderFromInput(const PiecedInput& input, std::uint64_t position, const std::string& bytes,
                             std::uint64_t& next) {
    if (position < next || position + bytes.size() > input.size) return false;
    if (bytes != std::string(input.body + position, bytes.size())) return false;
    next = position + bytes.size();
    return true;
}

}  // namespace wt::fuzz
