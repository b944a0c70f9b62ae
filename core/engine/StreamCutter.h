#pragma once
// Cuts a station's audio between frames (MP3, AAC) or between Ogg pages (Vorbis, Opus),
// whichever the stream holds: Ogg when its Content-Type says so or its first bytes are an
// Ogg page. Ogg streams announce their titles in band, through the title sink.
#include "engine/FrameCutter.h"
#include "engine/OggCutter.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace wt {

class StreamCutter {
public:
    using Sink = FrameCutter::Sink;
    using TitleSink = OggCutter::TitleSink;

    StreamCutter(Sink sink, TitleSink titles);

    // The Content-Type of the connection that follows.
    void SetContentType(const std::string& contentType) { contentType_ = contentType; }
    void Feed(const char* data, std::size_t size);
    void Restart();
    // See FrameCutter::Continues; an Ogg stream always starts again with its headers.
    bool Continues(std::string_view next) const;

    std::uint64_t Position() const;
    std::optional<AudioKind> Kind() const;
    bool InSync() const;
    std::size_t BytesWithoutSync() const;
    // The stream is Ogg: its titles come from its comment headers.
    bool IsOgg() const { return ogg_ != nullptr; }

private:
    Sink sink_;
    TitleSink titles_;
    std::string contentType_;
    std::string first_;  // the first bytes, until the kind of stream is known
    std::unique_ptr<FrameCutter> frames_;
    std::unique_ptr<OggCutter> ogg_;
};

}  // namespace wt
