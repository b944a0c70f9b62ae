#include "engine/StreamPlayer.h"

#include "engine/AudioOutput.h"
#include "engine/IcyParser.h"
#include "engine/IcyStream.h"
#include "platform/TextEncoding.h"

#include <mpg123.h>

#include <memory>
#include <mutex>
#include <vector>

namespace wt {

namespace {

void InitDecoderOnce() {
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}

// Decodes what libmpg123 has and plays it; opens the output at the first known format.
class Decoder {
public:
    Decoder() {
        InitDecoderOnce();
        handle_ = mpg123_new(nullptr, nullptr);
        if (handle_) mpg123_param(handle_, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    }
    ~Decoder() {
        if (handle_) mpg123_delete(handle_);
    }
    bool OpenFeed() { return handle_ && mpg123_open_feed(handle_) == MPG123_OK; }
    bool OpenFile(const std::string& path) { return handle_ && mpg123_open(handle_, path.c_str()) == MPG123_OK; }
    void Feed(const char* data, std::size_t size) {
        mpg123_feed(handle_, reinterpret_cast<const unsigned char*>(data), size);
    }
    // Plays every frame available; false at the end of a file or on a hard error.
    bool Drain(std::atomic<long>& frames, const std::atomic<bool>& stop) {
        while (!stop) {
            off_t number = 0;
            unsigned char* audio = nullptr;
            std::size_t bytes = 0;
            int result = mpg123_decode_frame(handle_, &number, &audio, &bytes);
            if (result == MPG123_NEW_FORMAT) {
                long rate = 0;
                int channels = 0, encoding = 0;
                mpg123_getformat(handle_, &rate, &channels, &encoding);
                output_ = OpenAudioOutput(rate, channels);
                continue;
            }
            if (result == MPG123_NEED_MORE) return true;
            if (result != MPG123_OK) return result != MPG123_DONE && result != MPG123_ERR;
            ++frames;
            if (output_ && bytes) output_->Write(audio, bytes);
        }
        return false;
    }

private:
    mpg123_handle* handle_ = nullptr;
    std::unique_ptr<AudioOutput> output_;
};

}  // namespace

StreamPlayer::StreamPlayer(Dispatcher& dispatcher) : dispatcher_(dispatcher) {}

StreamPlayer::~StreamPlayer() { Stop(); }

void StreamPlayer::PlayUrl(const std::string& url) {
    thread_ = std::thread([this, url] { Run(url, false); });
}

void StreamPlayer::PlayFile(const std::string& path) {
    thread_ = std::thread([this, path] { Run(path, true); });
}

void StreamPlayer::Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

void StreamPlayer::Run(const std::string& source, bool isFile) {
    Decoder decoder;
    if (isFile) {
        if (decoder.OpenFile(source)) decoder.Drain(frames_, stop_);
        finished_ = true;
        return;
    }
    if (!decoder.OpenFeed()) {
        finished_ = true;
        return;
    }
    std::string lastTitle;
    IcyStreamHandlers handlers;
    handlers.onAudio = [&](const char* data, std::size_t size) {
        decoder.Feed(data, size);
        decoder.Drain(frames_, stop_);
    };
    handlers.onMeta = [&](const std::string& text) {
        auto title = ExtractStreamTitle(text);
        if (!title || *title == lastTitle) return;
        lastTitle = *title;
        std::string shown = DecodeText(*title);
        dispatcher_.Synchronize([this, &shown] {
            if (OnTitle) OnTitle(shown);
        });
    };
    handlers.stopRequested = [this] { return stop_.load(); };
    ReceiveIcyStream(source, handlers);
    if (!stop_ && frames_ == 0) {
        dispatcher_.Synchronize([this] {
            if (OnFailure && !stop_) OnFailure();
        });
    }
    finished_ = true;
}

}  // namespace wt
