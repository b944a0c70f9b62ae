#pragma once
// Made-up Ogg logical streams for the cutter: real Ogg pages (libogg) with the header
// packets of Vorbis or Opus (the comments as given) and audio packets of noise. They cut and
// parse like a station's stream but do not decode; decodable streams come from ffmpeg.
#include "engine/AudioFrames.h"

#include <cstddef>
#include <string>
#include <vector>

namespace wt::test {

struct OggLink {
    AudioKind codec = AudioKind::Opus;
    std::vector<std::string> comments;  // "KEY=value"
    int audioPages = 4;
    bool commentHeader = true;           // false: the stream's second packet is audio
};

struct OggBytes {
    std::string bytes;
    std::vector<std::size_t> pageStarts;  // where each page starts in bytes
    std::size_t headerBytes = 0;          // the header pages' bytes at the start
};

// One logical stream with its own serial number.
OggBytes MakeOggLink(const OggLink& link, int serial);
// The codec's comment packet.
std::string OggCommentPacket(AudioKind codec, const std::vector<std::string>& comments);

}  // namespace wt::test
