#include "settings/LHARoutines.h"

#include <algorithm>
#include <memory>

#include "platform/ByteOrder.h"
#include "settings/BitReader.h"
#include "settings/BitWriter.h"
#include "settings/LhaDecoder.h"
#include "settings/LhaEncoder.h"

namespace wt {

void CompressStream(ByteStream& source, ByteStream& target) {
    if (source.Size() == 0) return;
    source.SetPosition(0);
    const std::int64_t size = source.Size();
    unsigned char header[4];
    WriteLE32(header, static_cast<std::uint32_t>(size));
    target.Write(header, sizeof header);

    auto bits = std::make_unique<lha::BitWriter>(target);
    auto encoder = std::make_unique<lha::Encoder>(source, *bits);
    encoder->Run();
    bits->Finish();
}

void DecompressStream(ByteStream& source, ByteStream& target, bool fromStart) {
    if (source.Size() == 0) return;
    if (fromStart) source.SetPosition(0);
    std::int64_t compressed = source.Size() - source.Position();
    unsigned char header[4];
    if (compressed < 4 || source.Read(header, sizeof header) != sizeof header) throw ECorruptFile();
    compressed -= 4;
    std::int64_t remaining = static_cast<std::int32_t>(ReadLE32(header));
    if (remaining <= 0) return;

    auto bits = std::make_unique<lha::BitReader>(source, compressed);
    auto decoder = std::make_unique<lha::Decoder>(*bits);
    while (remaining > 0) {
        const int chunk = static_cast<int>(std::min<std::int64_t>(lha::kDicSize, remaining));
        decoder->DecodeChunk(chunk);
        target.Write(decoder->Output(), static_cast<std::size_t>(chunk));
        remaining -= chunk;
    }
}

std::vector<std::uint8_t> CompressBytes(std::span<const std::uint8_t> data) {
    MemoryByteStream source(data);
    MemoryByteStream target;
    CompressStream(source, target);
    return target.TakeBytes();
}

std::vector<std::uint8_t> DecompressBytes(std::span<const std::uint8_t> compressed) {
    MemoryByteStream source(compressed);
    MemoryByteStream target;
    DecompressStream(source, target, true);
    return target.TakeBytes();
}

}  // namespace wt
