#include "engine/IcyStream.h"

#include "engine/IcyParser.h"
#include "platform/StringList.h"

#include "net/CurlTransfer.h"

#include <chrono>
#include <memory>
#include <optional>
#include <thread>

namespace wt {

namespace {

struct Transfer {
    net::CurlTransfer* transfer = nullptr;
    CURL* curl = nullptr;
    const IcyStreamHandlers* handlers = nullptr;
    int readPauseMs = 0;
    long firstByteTimeoutMs = 0;
    std::optional<std::chrono::steady_clock::time_point> tcpConnected;
    bool noAnswer = false;
    std::size_t metaInt = 0;
    std::unique_ptr<IcyDemuxer> demuxer;
    bool connected = false;
    bool refused = false;
    long status = 0;
    std::string contentType;
};

std::size_t ReadHeader(Transfer* t, std::string_view line) {
    // A new status line (after a redirect) starts a new header block.
    if (line.rfind("HTTP/", 0) == 0 || line.rfind("ICY ", 0) == 0) {
        t->metaInt = 0;
        t->contentType.clear();
    } else {
        t->metaInt = ParseMetaInt(line, t->metaInt);
        constexpr std::string_view kType = "content-type:";
        if (line.size() > kType.size() && EqualsIgnoreCase(line.substr(0, kType.size()), kType)) {
            std::string_view value = line.substr(kType.size());
            while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
            while (!value.empty() && (value.back() == '\r' || value.back() == '\n' || value.back() == ' '))
                value.remove_suffix(1);
            t->contentType = std::string(value);
        }
    }
    return line.size();
}

std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    return t->transfer->Guard(std::size_t{0}, [&] { return ReadHeader(t, std::string_view(data, size * count)); });
}

std::size_t ReceiveBody(Transfer* t, char* data, std::size_t n) {
    if (t->handlers->stopRequested && t->handlers->stopRequested()) return 0;
    if (!t->connected) {
        long status = 0;
        curl_easy_getinfo(t->curl, CURLINFO_RESPONSE_CODE, &status);
        t->status = status;
        if (status < 200 || status >= 300) {
            t->refused = true;
            return 0;
        }
        t->connected = true;
        t->demuxer = std::make_unique<IcyDemuxer>(
            t->metaInt,
            [t](const char* audio, std::size_t length) {
                if (t->handlers->onAudio) t->handlers->onAudio(audio, length);
            },
            [t](const std::string& text) {
                if (t->handlers->onMeta) t->handlers->onMeta(text);
            });
        if (t->handlers->onConnected) t->handlers->onConnected(t->contentType);
    }
    t->demuxer->Feed(data, n);
    if (t->handlers->onTick) t->handlers->onTick();
    // A handler may have asked to stop (a refused stream): end the transfer now.
    if (t->handlers->stopRequested && t->handlers->stopRequested()) return 0;
    if (t->readPauseMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(t->readPauseMs));
    return n;
}

// The handlers (audio, titles, ticks) run inside libcurl's callbacks, guarded.
std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    return t->transfer->Guard(std::size_t{0}, [&] { return ReceiveBody(t, data, size * count); });
}

int Progress(Transfer* t) {
    if (t->handlers->onTick) t->handlers->onTick();
    if (!t->connected && t->firstByteTimeoutMs > 0) {
        // Counted from the TCP connection: reaching a busy server may itself take a while.
        const auto now = std::chrono::steady_clock::now();
        if (!t->tcpConnected) {
            curl_off_t connectUs = 0;
            if (curl_easy_getinfo(t->curl, CURLINFO_CONNECT_TIME_T, &connectUs) == CURLE_OK && connectUs > 0)
                t->tcpConnected = now;
        } else if (now - *t->tcpConnected > std::chrono::milliseconds(t->firstByteTimeoutMs)) {
            t->noAnswer = true;
            return 1;
        }
    }
    return (t->handlers->stopRequested && t->handlers->stopRequested()) ? 1 : 0;
}

int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* t = static_cast<Transfer*>(user);
    return t->transfer->Guard(1, [&] { return Progress(t); });
}

}  // namespace

IcyStreamOutcome ReceiveIcyStream(const std::string& url, const IcyStreamHandlers& handlers,
                                 const IcyStreamOptions& options) {
    net::CurlTransfer transfer;
    Transfer t;
    t.transfer = &transfer;
    t.handlers = &handlers;
    t.readPauseMs = options.readPauseMs;
    t.firstByteTimeoutMs = options.firstByteTimeoutMs;
    t.curl = transfer.Easy();
    if (!t.curl) return {IcyStreamResult::ConnectFailed, "cannot start a transfer"};
    net::CurlCommonOptions common;
    common.connectTimeoutMs = options.connectTimeoutMs;
    common.headers = {"Icy-MetaData: 1"};
    transfer.Configure(url, common);
    curl_easy_setopt(t.curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(t.curl, CURLOPT_LOW_SPEED_TIME, options.stallSeconds);
    curl_easy_setopt(t.curl, CURLOPT_HEADERFUNCTION, OnHeader);
    curl_easy_setopt(t.curl, CURLOPT_HEADERDATA, &t);
    curl_easy_setopt(t.curl, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(t.curl, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(t.curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(t.curl, CURLOPT_XFERINFOFUNCTION, OnProgress);
    curl_easy_setopt(t.curl, CURLOPT_XFERINFODATA, &t);
    const CURLcode code = curl_easy_perform(t.curl);
    transfer.RethrowCallbackError();

    if (handlers.stopRequested && handlers.stopRequested()) return {IcyStreamResult::Stopped, {}};
    const std::string reason = transfer.Describe(code);
    if (t.refused) return {IcyStreamResult::ConnectFailed, "HTTP status " + std::to_string(t.status)};
    if (t.noAnswer)
        return {IcyStreamResult::ConnectFailed, "no audio within " + std::to_string(t.firstByteTimeoutMs / 1000) + " s"};
    if (code == CURLE_UNSUPPORTED_PROTOCOL || code == CURLE_URL_MALFORMAT) return {IcyStreamResult::BadUrl, reason};
    if (!t.connected) return {IcyStreamResult::ConnectFailed, code == CURLE_OK ? "no audio" : reason};
    return {IcyStreamResult::Ended, code == CURLE_OK ? "the stream ended" : reason};
}

}  // namespace wt
