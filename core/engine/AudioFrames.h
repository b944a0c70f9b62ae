#pragma once
// Frame headers of the two framed audio formats we rip: MPEG audio (layers I to III,
// MPEG 1, 2 and 2.5; ".mp3") and AAC in ADTS framing (".aac"). Only the header is read: it
// gives the frame's length, so a stream can be cut between frames without decoding it.
// Ogg Vorbis (".ogg") and Ogg Opus (".opus") are cut between Ogg pages (see OggCutter).
#include <cstddef>
#include <cstdint>
#include <optional>

namespace wt {

enum class AudioKind { Mp3, Aac, Vorbis, Opus };

struct FrameHeader {
    AudioKind kind;
    std::size_t length;  // whole frame, header included
    // The fields that stay the same from frame to frame of one stream (version, layer or
    // profile, sample rate); a header that differs is a false sync.
    std::uint32_t streamKey;
};

// Bytes needed to read a header of this kind.
constexpr std::size_t FrameHeaderBytes(AudioKind kind) { return kind == AudioKind::Mp3 ? 4 : 7; }

// The header at p (size bytes available), or none when the bytes are not a valid header of
// that kind or too few (always none for the Ogg kinds). Free-format MPEG frames (no bit rate in the header) are refused.
std::optional<FrameHeader> ParseFrameHeader(AudioKind kind, const std::uint8_t* p, std::size_t size);

// The file name extension for a kind, with its dot.
const char* FileExtension(AudioKind kind);

}  // namespace wt
