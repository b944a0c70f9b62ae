#pragma once
// Receives one station stream over HTTP or HTTPS on the calling thread: asks for ICY
// metadata, strips it from the audio and hands both on as they arrive. Returns when the
// stream ends, fails, or the caller asks it to stop (checked with every block and at least
// once a second while the station is silent).
#include <cstddef>
#include <functional>
#include <string>

namespace wt {

struct IcyStreamHandlers {
    std::function<void()> onConnected;  // the station answered with a success status
    std::function<void(const char* data, std::size_t size)> onAudio;
    std::function<void(const std::string& metadata)> onMeta;
    std::function<bool()> stopRequested;
};

enum class IcyStreamResult {
    Stopped,        // the caller asked to stop
    ConnectFailed,  // no connection, an error status, or a scheme other than http/https
    Ended,          // the stream was received for a while, then ended or broke off
};

struct IcyStreamOptions {
    long connectTimeoutMs = 10000;
    long stallSeconds = 30;  // a connected stream that sends nothing this long is given up
};

IcyStreamResult ReceiveIcyStream(const std::string& url, const IcyStreamHandlers& handlers,
                                 const IcyStreamOptions& options = {});

}  // namespace wt
