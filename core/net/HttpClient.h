#pragma once
// The program's HTTP client: blocking GET requests over libcurl, restricted to http and https.
//
// One HttpClient may be shared by several threads: every Get runs on the calling thread with
// a transfer of its own; only the cookie store is shared (under its own locks). A GUI thread
// that must stay responsive runs the call through RunWhilePumping (PumpedCall.h) and stops it
// with Cancel().

#include <atomic>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"

namespace wt::net {

enum class HttpErrorKind {
    BadUrl,      // not an http or https address, or not a valid one
    Connect,     // host not found, connection refused, connect time limit reached
    Timeout,     // the whole-request or stall time limit was reached after connecting
    HttpStatus,  // the server answered with a status other than 2xx
    Transfer,    // the connection broke or the body ended before its announced length
    Cancelled,   // Cancel(), the abort callback or the body sink stopped the request
    Sink,        // the body sink failed to store the bytes (for example a full disk)
};

class HttpError : public std::runtime_error {
public:
    HttpError(HttpErrorKind kind, const std::string& message, long status = 0)
        : std::runtime_error(message), kind_(kind), status_(status) {}
    HttpErrorKind Kind() const { return kind_; }
    // The HTTP status for HttpStatus errors, otherwise 0.
    long Status() const { return status_; }

private:
    HttpErrorKind kind_;
    long status_;
};

using HttpHeaders = std::vector<std::pair<std::string, std::string>>;

// The status and headers of the response whose body is delivered (after redirects).
struct HttpResponseHead {
    long status = 0;
    HttpHeaders headers;
    std::string effectiveUrl;
    // The value of the first header with this name (ignoring case), or "".
    std::string Header(std::string_view name) const;
};

struct HttpOptions {
    std::string userAgent = "Wavetrap";
    // Further request headers, each "Name: value".
    std::vector<std::string> headers;
    // 0 means no limit of our own (libcurl then gives up after its built-in 300 s).
    long connectTimeoutMs = 0;
    // Limit for the whole request; 0 means none.
    long totalTimeoutMs = 0;
    // Gives up when no byte arrives for this long after connecting; 0 means never.
    long stallTimeoutMs = 0;
    long maxRedirects = 5;
    bool acceptCookies = true;
    // Asked about every 50 ms while the request runs; true stops it with a Cancelled error.
    std::function<bool()> abort;
};

// Receives body bytes in arrival order; returning false stops the request (Cancelled).
using BodySink = std::function<bool(std::string_view bytes)>;
// Called once with the response head, before the first body byte (also for an empty body).
using HeadCallback = std::function<void(const HttpResponseHead&)>;

class HttpClient {
public:
    explicit HttpClient(HttpOptions defaults = {});
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    // Options used by every request; change them only while no request runs.
    HttpOptions& Defaults() { return defaults_; }
    const HttpOptions& Defaults() const { return defaults_; }

    // GET url with the default options. Throws HttpError; the body of a non-2xx response
    // never reaches the sink.
    HttpResponseHead Get(std::string_view url, const BodySink& sink,
                         const HeadCallback& onHead = {}) const;
    HttpResponseHead Get(std::string_view url, const BodySink& sink, const HttpOptions& options,
                         const HeadCallback& onHead = {}) const;

    std::string GetString(std::string_view url) const;
    // Creates or replaces the file and writes the body into it; the file stays (possibly
    // partial) after a failure so the caller decides what to do with it.
    void GetToFile(std::string_view url, const std::string& path, FileSystem& files = RealFileSystem()) const;

    // Stops every request running on this client with a Cancelled error, from any thread,
    // and every later one until ResetCancel().
    void Cancel() { cancelled_ = true; }
    void ResetCancel() { cancelled_ = false; }
    bool IsCancelled() const { return cancelled_; }

private:
    struct CookieShare;
    HttpOptions defaults_;
    std::unique_ptr<CookieShare> cookies_;
    std::atomic<bool> cancelled_{false};
};

// True when url starts with "http://" or "https://" (scheme compared ignoring case).
bool IsHttpUrl(std::string_view url);

}  // namespace wt::net
