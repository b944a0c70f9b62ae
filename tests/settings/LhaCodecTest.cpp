// Round trips of the lh5 compressor against streams made by an independent encoder, and our
// own output checked by an independent decoder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "settings/LHARoutines.h"

namespace wt {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::Lh5FixtureDir;
using test::Lh5FixtureNames;
using test::ReadFileBytes;

TEST(LhaCodec, OneByteGivesTheKnownElevenBytes) {
    const Bytes compressed = CompressBytes(Bytes{0x41});
    EXPECT_EQ(compressed, (Bytes{0x01, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x04, 0x10, 0x00}));
    EXPECT_EQ(DecompressBytes(compressed), Bytes{0x41});
}

TEST(LhaCodec, EmptyInputWritesNothingEitherWay) {
    EXPECT_TRUE(CompressBytes({}).empty());
    EXPECT_TRUE(DecompressBytes({}).empty());
    // A length field of zero or below yields nothing, whatever follows.
    EXPECT_TRUE(DecompressBytes(Bytes{0, 0, 0, 0}).empty());
    EXPECT_TRUE(DecompressBytes(Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0x12, 0x34}).empty());
}

TEST(LhaCodec, AppendsAtTargetPositionAndReadsFromSourcePosition) {
    const Bytes input{'a', 'b', 'c', 'a', 'b', 'c', 'a', 'b', 'c', 'd'};
    MemoryByteStream source(input);
    source.SetPosition(5);  // rewound by the compressor
    MemoryByteStream packed;
    packed.Write("XY", 2);
    CompressStream(source, packed);
    ASSERT_EQ(packed.Bytes()[0], 'X');

    packed.SetPosition(2);
    MemoryByteStream unpacked;
    unpacked.Write("Z", 1);
    DecompressStream(packed, unpacked, /*fromStart=*/false);
    Bytes expected{'Z'};
    expected.insert(expected.end(), input.begin(), input.end());
    EXPECT_EQ(unpacked.Bytes(), expected);
}

TEST(LhaCodec, EveryFixtureStreamDecodesToItsInput) {
    const auto names = Lh5FixtureNames();
    ASSERT_GE(names.size(), 13u);
    for (const auto& name : names) {
        SCOPED_TRACE(name);
        const Bytes input = ReadFileBytes(Lh5FixtureDir() / (name + ".in"));
        EXPECT_EQ(DecompressBytes(ReadFileBytes(Lh5FixtureDir() / (name + ".lh5s"))), input);
    }
}

TEST(LhaCodec, OurOutputOfEveryFixtureInputDecodesBack) {
    for (const auto& name : Lh5FixtureNames()) {
        SCOPED_TRACE(name);
        const Bytes input = ReadFileBytes(Lh5FixtureDir() / (name + ".in"));
        const Bytes compressed = CompressBytes(input);
        EXPECT_EQ(DecompressBytes(compressed), input);
    }
}

// Where the parse and the codes have only one answer our bytes equal the independent encoder's.
// ("AAA" is three literals: a 2-byte match is too short.) For longer inputs the encoders
// differ, for instance in which of equally frequent symbols gets the shorter code.
TEST(LhaCodec, SimpleInputsGiveTheIndependentEncodersBytes) {
    for (const char* name : {"one_byte_A", "three_A", "two_bytes"}) {
        SCOPED_TRACE(name);
        const Bytes input = ReadFileBytes(Lh5FixtureDir() / (std::string(name) + ".in"));
        EXPECT_EQ(CompressBytes(input), ReadFileBytes(Lh5FixtureDir() / (std::string(name) + ".lh5s")));
    }
}

TEST(LhaCodec, RoundTripsAcrossWindowAndBlockBoundaries) {
    // Periodic data with a period just under the dictionary, long runs, and a pseudo-random
    // tail: matches reach 8191 back, cross the decoder's 8192-byte chunks, and the random part
    // needs several blocks.
    Bytes input;
    std::uint32_t state = 12345;
    Bytes period(8191);
    for (auto& b : period) { state = state * 1103515245u + 12345u; b = static_cast<std::uint8_t>(state >> 24); }
    for (int i = 0; i < 3; ++i) input.insert(input.end(), period.begin(), period.end());
    input.insert(input.end(), 70000, 'x');
    for (int i = 0; i < 40000; ++i) { state = state * 1103515245u + 12345u; input.push_back(static_cast<std::uint8_t>(state >> 16)); }
    for (std::size_t size : {std::size_t{8191}, std::size_t{8192}, std::size_t{8193}, std::size_t{16384 + 300}, input.size()}) {
        SCOPED_TRACE(size);
        const Bytes part(input.begin(), input.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_EQ(DecompressBytes(CompressBytes(part)), part);
    }
    // The periodic part compresses to a fraction: repeats 8191 bytes back are found.
    const Bytes periodic(input.begin(), input.begin() + 3 * 8191);
    EXPECT_LT(CompressBytes(periodic).size(), 8191u + 8191u / 4);
}

bool HaveLhasa() { return std::system("command -v lhasa >/dev/null 2>&1") == 0; }

TEST(LhaCodec, IndependentDecoderAcceptsOurOutput) {
    if (!HaveLhasa()) GTEST_SKIP() << "lhasa is not installed; the independent decoder check is skipped";
    test::TempDir tmp;
    for (const auto& name : Lh5FixtureNames()) {
        const Bytes input = ReadFileBytes(Lh5FixtureDir() / (name + ".in"));
        if (input.empty()) continue;  // an archive member needs data
        SCOPED_TRACE(name);
        test::WriteFileBytes(tmp.Path() / "ours.lh5s", CompressBytes(input));
        const std::string dir = tmp.Path().string();
        const std::string wrap = std::string(WT_PYTHON) + " '" + (Lh5FixtureDir() / "wrap_lzh.py").string() +
                                 "' '" + dir + "/ours.lh5s' '" + (Lh5FixtureDir() / (name + ".in")).string() +
                                 "' -o '" + dir + "/x.lzh' >/dev/null";
        ASSERT_EQ(std::system(wrap.c_str()), 0);
        const std::string check = "cd '" + dir + "' && lhasa t x.lzh >/dev/null 2>&1";
        EXPECT_EQ(std::system(check.c_str()), 0) << "lhasa t rejected our stream";
        const std::string print = "cd '" + dir + "' && lhasa pq x.lzh > out.bin 2>/dev/null";
        ASSERT_EQ(std::system(print.c_str()), 0);
        EXPECT_EQ(ReadFileBytes(tmp.Path() / "out.bin"), input);
    }
}

}  // namespace
}  // namespace wt
