// Damaged compressed streams: invalid code tables are refused, short data decodes on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestFiles.h"
#include "settings/LHARoutines.h"

namespace wt {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A stream promising `length` bytes whose bit stream is the given '0'/'1' text, zero padded.
Bytes StreamFromBits(std::int32_t length, const std::string& bits) {
    Bytes out{static_cast<std::uint8_t>(length), static_cast<std::uint8_t>(length >> 8),
              static_cast<std::uint8_t>(length >> 16), static_cast<std::uint8_t>(length >> 24)};
    std::uint8_t acc = 0;
    int n = 0;
    for (char c : bits) {
        if (c == ' ') continue;
        acc = static_cast<std::uint8_t>((acc << 1) | (c == '1'));
        if (++n == 8) { out.push_back(acc); acc = 0; n = 0; }
    }
    if (n > 0) out.push_back(static_cast<std::uint8_t>(acc << (8 - n)));
    return out;
}

struct CorruptCase {
    const char* what;
    const char* bits;  // after the 16-bit item count of 1
};

TEST(LhaCorrupt, InvalidCodeTablesRaiseCorruptFile) {
    const CorruptCase cases[] = {
        {"code-length count above 19", "10100"},
        {"code-length single symbol above 18", "00000 10011"},
        {"literal single symbol above 509", "00000 00000 000000000 111111111"},
        {"literal length count above 510", "00000 00000 111111111"},
        {"offset count above 14", "00000 00000 000000000 001000001 1111"},
        {"offset single symbol above 13", "00000 00000 000000000 001000001 0000 1110"},
        {"three codes of length 1 overfill", "00011 001 001 001 00"},
        {"one code of length 1 leaves a gap", "00001 001"},
        {"four codes of length 1 overfill by a whole code space", "00100 001 001 001 00 001"},
        {"length above 16", "00001 111 1111111111111 0"},
        // Code-length code: symbols 1 and 2 of length 1; then literal lengths: symbol 2 + 9 bits
        // of 511 gives 531 zeros, past the 510 entries.
        {"zero run past the literal table", "00011 000 001 001 00 000000001 1 111111111"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Bytes stream = StreamFromBits(1, std::string("0000000000000001 ") + c.bits);
        EXPECT_THROW(DecompressBytes(stream), ECorruptFile);
        try {
            DecompressBytes(stream);
        } catch (const ECorruptFile& e) {
            EXPECT_STREQ(e.what(), "Compressed file is corrupt");
        }
    }
}

TEST(LhaCorrupt, LengthFieldCutShortIsRefused) {
    EXPECT_THROW(DecompressBytes(Bytes{0x05, 0x00}), ECorruptFile);
}

TEST(LhaCorrupt, DataEndingEarlyDecodesToThePromisedLength) {
    const Bytes input = test::ReadFileBytes(test::Lh5FixtureDir() / "text_5k.in");
    Bytes stream = test::ReadFileBytes(test::Lh5FixtureDir() / "text_5k.lh5s");
    stream.resize(1500);
    const Bytes out = DecompressBytes(stream);
    ASSERT_EQ(out.size(), input.size());
    // What the bytes held decodes as before.
    EXPECT_TRUE(std::equal(out.begin(), out.begin() + 1000, input.begin()));

    // Only the length field: the rest decodes from zero bits (blocks of zero literals).
    EXPECT_EQ(DecompressBytes(Bytes{0x10, 0x27, 0x00, 0x00}), Bytes(10000, 0));
}

TEST(LhaCorrupt, ChunksWrittenBeforeTheErrorStayInTheTarget) {
    // A block of 8192 literals 'A' (single-symbol codes take no bits per item), then a block
    // whose code-length count is out of range.
    const Bytes stream = StreamFromBits(9000,
                                        "0010000000000000 00000 00000 000000000 001000001 0000 0000 "
                                        "0000000000000001 10100");
    MemoryByteStream source(stream);
    MemoryByteStream target;
    EXPECT_THROW(DecompressStream(source, target, true), ECorruptFile);
    EXPECT_EQ(target.Bytes(), Bytes(8192, 'A'));
}

}  // namespace
}  // namespace wt
