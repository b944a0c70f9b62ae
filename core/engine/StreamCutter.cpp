#include "engine/StreamCutter.h"

#include "engine/StreamKind.h"

namespace wt {

StreamCutter::StreamCutter(Sink sink, TitleSink titles) : sink_(std::move(sink)), titles_(std::move(titles)) {}

void StreamCutter::Feed(const char* data, std::size_t size) {
    if (!frames_ && !ogg_) {
        first_.append(data, size);
        if (first_.size() < 4 && !IsOggStream(contentType_, first_)) return;
        if (IsOggStream(contentType_, first_))
            ogg_ = std::make_unique<OggCutter>(sink_, titles_);
        else
            frames_ = std::make_unique<FrameCutter>(std::nullopt, sink_);
        std::string first = std::move(first_);
        first_.clear();
        return Feed(first.data(), first.size());
    }
    if (ogg_) ogg_->Feed(data, size);
    else frames_->Feed(data, size);
}

void StreamCutter::Restart() {
    if (ogg_) ogg_->Restart();
    else if (frames_) frames_->Restart();
    // Before the kind is known the few bytes kept are handed on with the next connection's:
    // too few to hold a frame, they only keep the positions going forward.
}

bool StreamCutter::Continues(std::string_view next) const { return frames_ && frames_->Continues(next); }

std::uint64_t StreamCutter::Position() const {
    if (ogg_) return ogg_->Position();
    if (frames_) return frames_->Position();
    return first_.size();
}

std::optional<AudioKind> StreamCutter::Kind() const {
    if (ogg_) return ogg_->Kind();
    if (frames_) return frames_->Kind();
    return std::nullopt;
}

bool StreamCutter::InSync() const { return ogg_ ? ogg_->InSync() : frames_ && frames_->InSync(); }

std::size_t StreamCutter::BytesWithoutSync() const {
    if (ogg_) return ogg_->BytesWithoutSync();
    if (frames_) return frames_->BytesWithoutSync();
    return first_.size();
}

}  // namespace wt
