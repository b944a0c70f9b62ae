#pragma once
// Receives one station stream over HTTP or HTTPS on the calling thread: asks for ICY
// metadata, strips it from the audio and hands both on as they arrive. Returns when the
// stream ends, fails, or the caller asks it to stop (checked with every block and at least
// once a second while the station is silent). The transfer is set up as every HTTP request of
// the program is (net/CurlTransfer): http and https only, a few redirects, no proxy from the
// environment. An exception thrown by a handler ends the transfer and is rethrown from
// ReceiveIcyStream once libcurl has returned.
#include <cstddef>
#include <functional>
#include <string>

namespace wt {

struct IcyStreamHandlers {
    // The station answered with a success status; contentType is its Content-Type or "".
    std::function<void(const std::string& contentType)> onConnected;
    std::function<void(const char* data, std::size_t size)> onAudio;
    std::function<void(const std::string& metadata)> onMeta;
    std::function<bool()> stopRequested;
    // Called with every block and about once a second while the station is silent.
    std::function<void()> onTick;
};

enum class IcyStreamResult {
    Stopped,        // the caller asked to stop
    BadUrl,         // a scheme other than http/https, or not a valid address: never retried
    ConnectFailed,  // no connection, or an error status
    Ended,          // the stream was received for a while, then ended, broke off or stalled
};

struct IcyStreamOutcome {
    IcyStreamResult result;
    std::string reason;  // what went wrong, in words (libcurl's or the HTTP status)
};

struct IcyStreamOptions {
    long connectTimeoutMs = 10000;
    long stallSeconds = 30;  // a connected stream that sends nothing this long is given up
    // A server that accepts the connection but sends no audio this long after it is given up
    // (busy servers leave some of many new listeners waiting for ever).
    long firstByteTimeoutMs = 10000;
    // Pause after each block handed on, so that the next read finds several of the server's
    // small writes waiting instead of waking the thread for each (the stream waits in the
    // socket's buffer meanwhile).
    int readPauseMs = 0;
};

IcyStreamOutcome ReceiveIcyStream(const std::string& url, const IcyStreamHandlers& handlers,
                                  const IcyStreamOptions& options = {});

}  // namespace wt
