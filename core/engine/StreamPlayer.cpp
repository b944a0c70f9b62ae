#include "engine/StreamPlayer.h"

#include "engine/AudioDecoder.h"
#include "engine/IcyParser.h"
#include "engine/IcyStream.h"
#include "platform/TextEncoding.h"

#include <fstream>
#include <memory>
#include <vector>

namespace wt {

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
    std::string lastTitle;
    auto showTitle = [&](const std::string& shown) {
        if (shown == lastTitle) return;
        lastTitle = shown;
        dispatcher_.Synchronize([this, &shown] {
            if (OnTitle) OnTitle(shown);
        });
    };
    if (isFile) {
        // A song file, perhaps still growing under a rip: what has been written so far plays.
        auto decoder = MakeDecoderForStream({}, nullptr);
        std::ifstream in(source, std::ios::binary);
        std::vector<char> block(64 * 1024);
        while (in && !stop_) {
            in.read(block.data(), static_cast<std::streamsize>(block.size()));
            const auto got = static_cast<std::size_t>(in.gcount());
            if (got == 0 || !decoder->Feed(block.data(), got, frames_, stop_)) break;
        }
        decoder->Finish(frames_, stop_);
        finished_ = true;
        return;
    }
    std::unique_ptr<AudioDecoder> decoder;
    bool failed = false;
    IcyStreamHandlers handlers;
    handlers.onConnected = [&](const std::string& contentType) {
        // An Ogg stream's titles are in the stream.
        decoder = MakeDecoderForStream(contentType, [&](const std::string& title) { showTitle(title); });
    };
    handlers.onAudio = [&](const char* data, std::size_t size) {
        if (!decoder) decoder = MakeDecoderForStream({}, showTitle);
        if (!failed && !decoder->Feed(data, size, frames_, stop_)) failed = true;
    };
    handlers.onMeta = [&](const std::string& text) {
        auto title = ExtractStreamTitle(text);
        if (title) showTitle(DecodeText(*title));
    };
    handlers.stopRequested = [this, &failed] { return stop_.load() || failed; };
    ReceiveIcyStream(source, handlers);
    if (!stop_ && frames_ == 0) {
        dispatcher_.Synchronize([this] {
            if (OnFailure && !stop_) OnFailure();
        });
    }
    finished_ = true;
}

}  // namespace wt
