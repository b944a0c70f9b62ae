#pragma once
// Whole-stream compression with the lh5 method of the LHA archive format: LZSS over an
// 8 KB sliding dictionary, with static Huffman codes rebuilt for every block.
//
// A compressed stream is a 4-byte little-endian signed count of the uncompressed bytes followed
// by the lh5 bit stream (blocks, then zero bits up to the next byte boundary). There is no
// checksum: damage other than an invalid code table goes undetected.
//
// Each call allocates its own working state, so calls on different threads do not interfere.
#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

#include "settings/ByteStream.h"

namespace wt {

// A code table in a compressed stream is invalid.
class ECorruptFile : public std::runtime_error {
public:
    ECorruptFile() : std::runtime_error("Compressed file is corrupt") {}
};

// Compresses the whole of `source` (rewound first) and appends the result at the current
// position of `target`. An empty source writes nothing, not even the length field.
void CompressStream(ByteStream& source, ByteStream& target);

// Reads the length field at the current position of `source` (rewound first when `fromStart`),
// decodes exactly that many bytes and appends them at the current position of `target`.
// An empty source writes nothing; a length of 0 or below gives no output. Data that ends early
// is padded with zero bits. Throws ECorruptFile for an invalid code table (chunks already
// written stay in `target`) and for a source too short to hold the length field.
void DecompressStream(ByteStream& source, ByteStream& target, bool fromStart);

// Convenience wrappers over in-memory streams.
std::vector<std::uint8_t> CompressBytes(std::span<const std::uint8_t> data);
std::vector<std::uint8_t> DecompressBytes(std::span<const std::uint8_t> compressed);

}  // namespace wt
