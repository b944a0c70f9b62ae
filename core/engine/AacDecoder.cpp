#include "engine/CodecDecoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace wt {

namespace {

// AAC in ADTS frames: libavcodec's parser finds the frames, its decoder decodes them (the
// ADTS header carries everything the decoder needs, HE-AAC included).
class AacDecoder : public AudioDecoder {
public:
    AacDecoder() : codec_(AV_CODEC_ID_AAC, {}), parser_(av_parser_init(AV_CODEC_ID_AAC)) {}
    ~AacDecoder() override {
        if (parser_) av_parser_close(parser_);
        avcodec_free_context(&context_);
    }

    bool Feed(const char* data, std::size_t size, std::atomic<long>& frames, const std::atomic<bool>& stop) override {
        if (!codec_.Opened() || !parser_) return false;
        // The parser reads a little past the bytes it is given: they get zeroed padding.
        buffer_.assign(data, size);
        buffer_.append(AV_INPUT_BUFFER_PADDING_SIZE, '\0');
        const auto* at = reinterpret_cast<const std::uint8_t*>(buffer_.data());
        int left = static_cast<int>(size);
        while (left > 0 && !stop) {
            std::uint8_t* frame = nullptr;
            int frameSize = 0;
            const int used = av_parser_parse2(parser_, context_, &frame, &frameSize, at, left, AV_NOPTS_VALUE,
                                              AV_NOPTS_VALUE, 0);
            if (used < 0) return false;
            at += used;
            left -= used;
            if (frameSize > 0) codec_.Decode(frame, static_cast<std::size_t>(frameSize), frames, pcm_);
            if (used == 0 && frameSize == 0) break;
        }
        return true;
    }

private:
    CodecDecoder codec_;
    AVCodecParserContext* parser_;
    // The parser wants a codec context for its own bookkeeping only.
    AVCodecContext* context_ = avcodec_alloc_context3(nullptr);
    std::string buffer_;
    PcmSink pcm_;
};

}  // namespace

std::unique_ptr<AudioDecoder> MakeAacDecoder() { return std::make_unique<AacDecoder>(); }

}  // namespace wt
