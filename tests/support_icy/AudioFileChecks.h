#pragma once
// Independent checks of ripped song files with the Debian tools mp3val and ffmpeg. Each
// returns the tool's complaints (empty: the file is clean), or nullopt when the tool is not
// installed, so tests can skip the check.
#include <optional>
#include <string>

namespace wt::test {

// mp3val's warnings and errors about the stream (its note that the file has no tags is not
// about the stream and is left out).
std::optional<std::string> Mp3valProblems(const std::string& path);
// What `ffmpeg -v error` prints while decoding the whole file.
std::optional<std::string> FfmpegDecodeErrors(const std::string& path);

}  // namespace wt::test
