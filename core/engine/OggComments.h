#pragma once
// The header packets of the Ogg audio codecs we rip: which codec a logical stream's first
// packet opens, and the song title its comment packet carries (Vorbis comment header,
// OpusTags). The packets come from the network: every length is checked against the bytes
// that are there.
#include "engine/AudioFrames.h"

#include <cstddef>
#include <optional>
#include <string>

namespace wt {

// Vorbis or Opus when the packet is that codec's identification header, else none.
std::optional<AudioKind> OggCodecOfFirstPacket(const unsigned char* packet, std::size_t size);

// Header packets of the codec, identification header included (Vorbis: 3, Opus: 2).
int OggHeaderPackets(AudioKind codec);

// The title announced by a comment packet of the codec: "ARTIST - TITLE", or TITLE alone
// without an artist; "" when the comments name no title. None when the packet is not a
// well-formed comment header. Keys are matched ignoring case; the first of each counts;
// line breaks, tabs and other control characters become spaces.
std::optional<std::string> OggTitleOfComments(AudioKind codec, const unsigned char* packet, std::size_t size);

}  // namespace wt
