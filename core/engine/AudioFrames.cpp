#include "engine/AudioFrames.h"

namespace wt {

namespace {

// kbit/s by [MPEG-1 ? 0 : 1][layer 1..3 - 1][index 1..14 - 1].
constexpr std::uint16_t kBitRates[2][3][14] = {
    {{32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
     {32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
     {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
    {{32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
     {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
     {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}},
};
// Hz by [version field: 0 = MPEG-2.5, 2 = MPEG-2, 3 = MPEG-1][index].
constexpr std::uint32_t kSampleRates[4][3] = {
    {11025, 12000, 8000}, {0, 0, 0}, {22050, 24000, 16000}, {44100, 48000, 32000}};

std::optional<FrameHeader> ParseMpeg(const std::uint8_t* p) {
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return std::nullopt;
    const unsigned version = (p[1] >> 3) & 3;  // 0 = 2.5, 1 reserved, 2 = 2, 3 = 1
    const unsigned layerBits = (p[1] >> 1) & 3;  // 1 = III, 2 = II, 3 = I, 0 reserved
    const unsigned rateIndex = p[2] >> 4;
    const unsigned sampleIndex = (p[2] >> 2) & 3;
    const unsigned padding = (p[2] >> 1) & 1;
    if (version == 1 || layerBits == 0 || rateIndex == 0 || rateIndex == 15 || sampleIndex == 3) return std::nullopt;
    if ((p[3] & 3) == 2) return std::nullopt;  // reserved emphasis
    const unsigned layer = 4 - layerBits;
    const std::uint32_t bitRate = kBitRates[version == 3 ? 0 : 1][layer - 1][rateIndex - 1] * 1000u;
    const std::uint32_t sampleRate = kSampleRates[version][sampleIndex];
    std::size_t length;
    if (layer == 1) length = (12 * bitRate / sampleRate + padding) * 4;
    else if (layer == 3 && version != 3) length = 72 * bitRate / sampleRate + padding;
    else length = 144 * bitRate / sampleRate + padding;
    const std::uint32_t key = (version << 4) | (layerBits << 2) | sampleIndex;
    return FrameHeader{AudioKind::Mp3, length, key};
}

std::optional<FrameHeader> ParseAdts(const std::uint8_t* p) {
    if (p[0] != 0xFF || (p[1] & 0xF6) != 0xF0) return std::nullopt;  // 12-bit sync, layer 0
    const unsigned profile = p[2] >> 6;
    const unsigned sampleIndex = (p[2] >> 2) & 0xF;
    if (sampleIndex > 12) return std::nullopt;
    const bool crc = (p[1] & 1) == 0;
    const std::size_t length = (std::size_t(p[3] & 3) << 11) | (std::size_t(p[4]) << 3) | (p[5] >> 5);
    if (length < (crc ? 9u : 7u)) return std::nullopt;
    const std::uint32_t key = 0x100u | (std::uint32_t(p[1] & 0x08) << 4) | (profile << 4) | sampleIndex;
    return FrameHeader{AudioKind::Aac, length, key};
}

}  // namespace

std::optional<FrameHeader> ParseFrameHeader(AudioKind kind, const std::uint8_t* p, std::size_t size) {
    if (size < FrameHeaderBytes(kind)) return std::nullopt;
    if (kind == AudioKind::Mp3) return ParseMpeg(p);
    if (kind == AudioKind::Aac) return ParseAdts(p);
    return std::nullopt;
}

const char* FileExtension(AudioKind kind) {
    switch (kind) {
    case AudioKind::Mp3: return ".mp3";
    case AudioKind::Aac: return ".aac";
    case AudioKind::Vorbis: return ".ogg";
    case AudioKind::Opus: return ".opus";
    }
    return ".mp3";
}

}  // namespace wt
