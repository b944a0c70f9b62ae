#include "engine/AudioDecoder.h"

#include "engine/FrameCutter.h"
#include "engine/StreamKind.h"

namespace wt {

void PcmSink::Play(const std::int16_t* samples, std::size_t frames, long rate, int channels) {
    if (!output_ || rate != rate_ || channels != channels_) {
        output_.reset();  // the old output plays out first
        output_ = OpenAudioOutput(rate, channels);
        rate_ = rate;
        channels_ = channels;
    }
    output_->Write(samples, frames * static_cast<std::size_t>(channels) * sizeof(std::int16_t));
}

namespace {

// Holds the first bytes until they show the stream's kind, then hands all to its decoder.
class SniffingDecoder : public AudioDecoder {
public:
    SniffingDecoder(std::string contentType, InBandTitle titles)
        : contentType_(std::move(contentType)), titles_(std::move(titles)) {}

    bool Feed(const char* data, std::size_t size, std::atomic<long>& frames, const std::atomic<bool>& stop) override {
        if (decoder_) return decoder_->Feed(data, size, frames, stop);
        first_.append(data, size);
        if (first_.size() < 4) return true;
        if (IsOggStream(contentType_, first_)) {
            decoder_ = MakeOggDecoder(titles_);
        } else {
            // Two frames of one stream in a row tell MP3 from AAC (stations mislabel AAC).
            FrameCutter cutter(std::nullopt, [](const char*, std::size_t, std::uint64_t, bool) {});
            cutter.Feed(first_.data(), first_.size());
            if (!cutter.Kind() && first_.size() < kSniffLimit) return true;
            decoder_ = cutter.Kind() == AudioKind::Aac ? MakeAacDecoder() : MakeMp3Decoder();
        }
        std::string first = std::move(first_);
        first_.clear();
        return decoder_->Feed(first.data(), first.size(), frames, stop);
    }

    void Finish(std::atomic<long>& frames, const std::atomic<bool>& stop) override {
        if (decoder_ || first_.empty()) return;
        decoder_ = IsOggStream(contentType_, first_) ? MakeOggDecoder(titles_) : MakeMp3Decoder();
        decoder_->Feed(first_.data(), first_.size(), frames, stop);
        first_.clear();
    }

private:
    static constexpr std::size_t kSniffLimit = 64 * 1024;
    std::string contentType_;
    InBandTitle titles_;
    std::string first_;
    std::unique_ptr<AudioDecoder> decoder_;
};

}  // namespace

std::unique_ptr<AudioDecoder> MakeDecoderForStream(std::string contentType, InBandTitle titles) {
    return std::make_unique<SniffingDecoder>(std::move(contentType), std::move(titles));
}

}  // namespace wt
