#pragma once
// What a station's answer holds, from its Content-Type and its first bytes: audio we can
// rip (MP3, AAC in ADTS, Ogg Vorbis or Opus), or something that no retry will turn into a radio stream.
#include <string>
#include <string_view>

namespace wt {

// Empty when the answer may be audio (its frames then tell MP3 from AAC, whatever the
// Content-Type claims: stations mislabel AAC as audio/mpeg); otherwise the status that says
// why it cannot be ripped. contentType: the header's value (may be empty); firstBytes: the
// first body bytes, as many as have arrived (a few are enough).
std::string RefusalOfStream(std::string_view contentType, std::string_view firstBytes);

// Status texts of streams that are refused.
inline constexpr const char* kRefusedWebPage = "This address is a web page, not a radio stream. Stopped";
inline constexpr const char* kRefusedPlaylist = "This address is an HLS playlist, which cannot be ripped. Stopped";
inline constexpr const char* kRefusedVideo = "This address is a video stream, which cannot be ripped. Stopped";
inline constexpr const char* kRefusedNoAudio = "No MP3, AAC, Vorbis or Opus audio in this stream. Stopped";

// Whether the answer is an Ogg stream: its Content-Type says so, or its first bytes are the
// start of an Ogg page.
bool IsOggStream(std::string_view contentType, std::string_view firstBytes);

}  // namespace wt
