#pragma once
// The ICY stream format: audio bytes with a metadata block after every `icy-metaint` audio
// bytes. A block is one length byte (times 16) followed by that many bytes of text, padded
// with zeros. The demuxer hands the audio bytes on in order and every non-empty metadata text
// separately; it keeps its state between calls, so any split of the input gives the same
// result.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace wt {

class IcyDemuxer {
public:
    using AudioSink = std::function<void(const char* data, std::size_t size)>;
    using MetaSink = std::function<void(const std::string& text)>;

    // metaInt 0 means the stream carries no metadata: everything is audio.
    IcyDemuxer(std::size_t metaInt, AudioSink audio, MetaSink meta);
    void Feed(const char* data, std::size_t size);

private:
    enum class State { Audio, Length, Meta };
    std::size_t metaInt_;
    AudioSink audio_;
    MetaSink meta_;
    State state_ = State::Audio;
    std::size_t left_;        // bytes left in the current audio run or metadata block
    std::string metaText_;
};

// The title of a metadata text: the quoted value of StreamTitle, up to the closing quote
// that comes before the next ';' (so a title may itself contain ';' or quotes). None when
// the text has no StreamTitle field.
std::optional<std::string> ExtractStreamTitle(std::string_view metadata);

// The value of the "icy-metaint" header line, or 0 when the line is absent or not a number.
std::size_t ParseMetaInt(std::string_view headerLine, std::size_t current);

}  // namespace wt
