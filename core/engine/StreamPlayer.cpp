#include "engine/StreamPlayer.h"

#include "engine/AudioDecoder.h"
#include "engine/IcyParser.h"
#include "engine/IcyStream.h"
#include "platform/FileSystem.h"
#include "platform/TextEncoding.h"

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
        std::unique_ptr<OpenFile> in;
        std::vector<char> block(64 * 1024);
        std::int64_t offset = 0;
        if (RealFileSystem().Open(source, OpenMode::Read, &in).ok()) {
            while (!stop_) {
                std::size_t got = 0;
                if (!in->ReadAt(offset, block.data(), block.size(), &got).ok() || got == 0) break;
                offset += static_cast<std::int64_t>(got);
                if (!decoder->Feed(block.data(), got, frames_, stop_)) break;
            }
            static_cast<void>(in->Close());  // read only: nothing to lose
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
