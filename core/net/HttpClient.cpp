#include "net/HttpClient.h"

#include <curl/curl.h>

#include <array>
#include <chrono>
#include <mutex>

#include "net/CurlTransfer.h"
#include "platform/StringList.h"

namespace wt::net {

namespace {

using SteadyClock = std::chrono::steady_clock;

// How often a running request looks at its abort conditions.
constexpr int kPollMs = 50;

bool IsSuccess(long status) { return status >= 200 && status <= 299; }

// State of one running request, reached from libcurl's callbacks.
struct Transfer {
    CurlTransfer* curl = nullptr;
    CURL* easy = nullptr;
    const BodySink* sink = nullptr;
    const HeadCallback* onHead = nullptr;
    HttpResponseHead head;
    std::string reason;
    bool headDelivered = false;
    bool sinkStopped = false;
    SteadyClock::time_point lastActivity = SteadyClock::now();

    long ResponseCode() const {
        long code = 0;
        curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &code);
        return code;
    }

    void DeliverHead() {
        if (headDelivered) return;
        headDelivered = true;
        head.status = ResponseCode();
        char* url = nullptr;
        if (curl_easy_getinfo(easy, CURLINFO_EFFECTIVE_URL, &url) == CURLE_OK && url)
            head.effectiveUrl = url;
        if (onHead && *onHead) (*onHead)(head);
    }
};

size_t ReadHeaderLine(Transfer* t, std::string_view line) {
    const size_t n = line.size();
    t->lastActivity = SteadyClock::now();
    // A status line starts a new response (after a redirect or a 100 Continue).
    if (line.starts_with("HTTP/") || line.starts_with("ICY ")) {
        t->head.headers.clear();
        t->reason.clear();
        const size_t codeAt = line.find(' ');
        const size_t reasonAt = codeAt == std::string_view::npos ? codeAt : line.find(' ', codeAt + 1);
        if (reasonAt != std::string_view::npos) t->reason = std::string(Trim(line.substr(reasonAt + 1)));
        return n;
    }
    const size_t colon = line.find(':');
    if (colon != std::string_view::npos)
        t->head.headers.emplace_back(std::string(Trim(line.substr(0, colon))), std::string(Trim(line.substr(colon + 1))));
    return n;
}

size_t OnHeaderLine(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    return t->curl->Guard(size_t{0}, [&] { return ReadHeaderLine(t, std::string_view(data, size * count)); });
}

size_t OnBody(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const size_t n = size * count;
    t->lastActivity = SteadyClock::now();
    // The body of an error answer is not the document asked for: drop it; the status check
    // after the transfer raises the error.
    if (!IsSuccess(t->ResponseCode())) return n;
    return t->curl->Guard(std::size_t{0}, [&]() -> std::size_t {
        t->DeliverHead();
        if (!(*t->sink)(std::string_view(data, n))) {
            t->sinkStopped = true;
            return 0;
        }
        return n;
    });
}

[[noreturn]] void ThrowForCurlCode(const Transfer& t, CURLcode code, std::string_view url,
                                   bool connected) {
    const std::string where = " (" + std::string(url) + ")";
    const std::string detail = t.curl->Describe(code);
    switch (code) {
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT:
        throw HttpError(HttpErrorKind::BadUrl, "Request refused: " + detail + where);
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
        throw HttpError(HttpErrorKind::Connect, "Could not connect: " + detail + where);
    case CURLE_OPERATION_TIMEDOUT:
        if (!connected)
            throw HttpError(HttpErrorKind::Connect, "Could not connect in time: " + detail + where);
        throw HttpError(HttpErrorKind::Timeout, "Request timed out: " + detail + where);
    case CURLE_TOO_MANY_REDIRECTS:
        throw HttpError(HttpErrorKind::Transfer, "Too many redirects: " + detail + where);
    default:
        throw HttpError(HttpErrorKind::Transfer, "Transfer failed: " + detail + where);
    }
}

struct MultiHandle {
    CURLM* h = curl_multi_init();
    ~MultiHandle() { curl_multi_cleanup(h); }
};

}  // namespace

// The cookie store shared by all requests of one client, with the locks libcurl asks for.
struct HttpClient::CookieShare {
    CURLSH* share = nullptr;
    std::array<std::mutex, CURL_LOCK_DATA_LAST> locks;

    CookieShare() {
        share = curl_share_init();
        curl_share_setopt(share, CURLSHOPT_LOCKFUNC, &Lock);
        curl_share_setopt(share, CURLSHOPT_UNLOCKFUNC, &Unlock);
        curl_share_setopt(share, CURLSHOPT_USERDATA, this);
        curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
    }
    ~CookieShare() { curl_share_cleanup(share); }

    static void Lock(CURL*, curl_lock_data data, curl_lock_access, void* user) {
        static_cast<CookieShare*>(user)->locks[static_cast<size_t>(data) % CURL_LOCK_DATA_LAST].lock();
    }
    static void Unlock(CURL*, curl_lock_data data, void* user) {
        static_cast<CookieShare*>(user)->locks[static_cast<size_t>(data) % CURL_LOCK_DATA_LAST].unlock();
    }
};

std::string HttpResponseHead::Header(std::string_view name) const {
    for (const auto& [key, value] : headers)
        if (EqualsIgnoreCase(key, name)) return value;
    return {};
}

bool IsHttpUrl(std::string_view url) {
    const std::string lower = AsciiLower(url.substr(0, 8));
    return lower.starts_with("http://") || lower.starts_with("https://");
}

HttpClient::HttpClient(HttpOptions defaults) : defaults_(std::move(defaults)) {
    InitCurlOnce();
    cookies_ = std::make_unique<CookieShare>();
}

HttpClient::~HttpClient() = default;

HttpResponseHead HttpClient::Get(std::string_view url, const BodySink& sink,
                                 const HeadCallback& onHead) const {
    return Get(url, sink, defaults_, onHead);
}

HttpResponseHead HttpClient::Get(std::string_view url, const BodySink& sink,
                                 const HttpOptions& options, const HeadCallback& onHead) const {
    const std::string urlText(url);
    if (!IsHttpUrl(url))
        throw HttpError(HttpErrorKind::BadUrl, "Only http and https addresses are supported (" + urlText + ")");

    CurlTransfer transfer;
    MultiHandle multi;
    if (!transfer.Ready() || !multi.h) throw HttpError(HttpErrorKind::Transfer, "Out of resources for a request");
    Transfer t;
    t.curl = &transfer;
    t.easy = transfer.Easy();
    t.sink = &sink;
    t.onHead = &onHead;

    CURL* e = transfer.Easy();
    transfer.Configure(urlText, {options.maxRedirects, options.connectTimeoutMs, options.userAgent, options.headers});
    curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &OnHeaderLine);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, &t);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &OnBody);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &t);
    if (options.totalTimeoutMs > 0) curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, options.totalTimeoutMs);
    if (options.acceptCookies) {
        curl_easy_setopt(e, CURLOPT_COOKIEFILE, "");
        curl_easy_setopt(e, CURLOPT_SHARE, cookies_->share);
    }

    curl_multi_add_handle(multi.h, e);
    CURLcode result = CURLE_OK;
    bool connected = false;
    SteadyClock::time_point connectedAt{};
    for (;;) {
        int running = 0;
        curl_multi_perform(multi.h, &running);
        if (running == 0) {
            int left = 0;
            while (CURLMsg* msg = curl_multi_info_read(multi.h, &left))
                if (msg->msg == CURLMSG_DONE) result = msg->data.result;
            break;
        }
        if (!connected) {
            curl_off_t connectTime = 0;
            curl_easy_getinfo(e, CURLINFO_CONNECT_TIME_T, &connectTime);
            if (connectTime > 0) {
                connected = true;
                connectedAt = SteadyClock::now();
            }
        }
        if (cancelled_ || (options.abort && options.abort())) {
            curl_multi_remove_handle(multi.h, e);
            throw HttpError(HttpErrorKind::Cancelled, "Request cancelled (" + urlText + ")");
        }
        if (connected && options.stallTimeoutMs > 0) {
            const auto since = std::max(t.lastActivity, connectedAt);
            if (SteadyClock::now() - since > std::chrono::milliseconds(options.stallTimeoutMs)) {
                curl_multi_remove_handle(multi.h, e);
                throw HttpError(HttpErrorKind::Timeout,
                                "No data for " + std::to_string(options.stallTimeoutMs) + " ms (" + urlText + ")");
            }
        }
        curl_multi_poll(multi.h, nullptr, 0, kPollMs, nullptr);
    }
    curl_off_t connectTime = 0;
    curl_easy_getinfo(e, CURLINFO_CONNECT_TIME_T, &connectTime);
    connected = connected || connectTime > 0;
    curl_multi_remove_handle(multi.h, e);

    transfer.RethrowCallbackError();
    if (t.sinkStopped) throw HttpError(HttpErrorKind::Cancelled, "Request stopped by its receiver (" + urlText + ")");
    const long status = t.ResponseCode();
    // An error status explains a failure better than a broken body that followed it; a
    // redirect that could not be followed is explained by libcurl's own message.
    const bool statusFirst = status >= 400 && result != CURLE_OPERATION_TIMEDOUT;
    if (result != CURLE_OK && !(statusFirst && !IsSuccess(status)))
        ThrowForCurlCode(t, result, url, connected);
    if (!IsSuccess(status)) {
        std::string message = "HTTP error " + std::to_string(status);
        if (!t.reason.empty()) message += " " + t.reason;
        throw HttpError(HttpErrorKind::HttpStatus, message + " (" + urlText + ")", status);
    }
    t.DeliverHead();
    return t.head;
}

std::string HttpClient::GetString(std::string_view url) const {
    std::string body;
    Get(url, [&](std::string_view bytes) {
        body.append(bytes);
        return true;
    });
    return body;
}

void HttpClient::GetToFile(std::string_view url, const std::string& path, FileSystem& files) const {
    std::unique_ptr<OpenFile> file;
    if (!files.Open(path, OpenMode::Replace, &file).ok()) throw HttpError(HttpErrorKind::Sink, "Could not create " + path);
    Get(url, [&](std::string_view bytes) {
        std::size_t written = 0;
        if (!file->Append(bytes.data(), bytes.size(), &written).ok())
            throw HttpError(HttpErrorKind::Sink, "Could not store the download of " + std::string(url));
        return true;
    });
    if (!file->Close().ok()) throw HttpError(HttpErrorKind::Sink, "Could not write " + path);
}

}  // namespace wt::net
