#include "engine/AudioDecoder.h"

#include <mpg123.h>

#include <mutex>

namespace wt {

namespace {

void InitOnce() {
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}

class Mp3Decoder : public AudioDecoder {
public:
    Mp3Decoder() {
        InitOnce();
        handle_ = mpg123_new(nullptr, nullptr);
        if (!handle_) return;
        mpg123_param(handle_, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
        // Signed 16-bit output at whatever rate and channels the stream has.
        mpg123_format_none(handle_);
        for (long rate : {8000L, 11025L, 12000L, 16000L, 22050L, 24000L, 32000L, 44100L, 48000L})
            mpg123_format(handle_, rate, MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
        if (mpg123_open_feed(handle_) != MPG123_OK) {
            mpg123_delete(handle_);
            handle_ = nullptr;
        }
    }
    ~Mp3Decoder() override {
        if (handle_) mpg123_delete(handle_);
    }

    bool Feed(const char* data, std::size_t size, std::atomic<long>& frames, const std::atomic<bool>& stop) override {
        if (!handle_) return false;
        mpg123_feed(handle_, reinterpret_cast<const unsigned char*>(data), size);
        while (!stop) {
            off_t number = 0;
            unsigned char* audio = nullptr;
            std::size_t bytes = 0;
            const int result = mpg123_decode_frame(handle_, &number, &audio, &bytes);
            if (result == MPG123_NEW_FORMAT) {
                int encoding = 0;
                mpg123_getformat(handle_, &rate_, &channels_, &encoding);
                continue;
            }
            if (result == MPG123_NEED_MORE) return true;
            // A damaged stretch is skipped: the decoder finds the next frame by itself.
            if (result != MPG123_OK) return true;
            ++frames;
            if (bytes && channels_ > 0)
                pcm_.Play(reinterpret_cast<const std::int16_t*>(audio), bytes / (2 * std::size_t(channels_)), rate_,
                          channels_);
        }
        return true;
    }

private:
    mpg123_handle* handle_ = nullptr;
    long rate_ = 0;
    int channels_ = 0;
    PcmSink pcm_;
};

}  // namespace

std::unique_ptr<AudioDecoder> MakeMp3Decoder() { return std::make_unique<Mp3Decoder>(); }

}  // namespace wt
