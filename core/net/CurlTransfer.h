#pragma once
// The one libcurl set-up every transfer of the program uses: the HTTP client's requests and
// the stream receiver's radio streams. It owns the easy handle and its lists, and applies
// what all of them share: http and https only (redirects included), redirects followed up to
// a limit, no proxy taken from the environment, no signals, "ICY 200 OK" accepted as a status
// line, a User-Agent, the connect time limit and an error buffer.
//
// libcurl calls back through C frames, which an exception must never cross: callbacks run
// their work through Guard, which keeps the exception, and the owner rethrows it with
// RethrowCallbackError once curl has returned.
#include <curl/curl.h>

#include <exception>
#include <string>
#include <vector>

namespace wt::net {

// libcurl's global set-up, done once for the process (safe from any thread).
void InitCurlOnce();

struct CurlCommonOptions {
    long maxRedirects = 5;
    long connectTimeoutMs = 0;  // 0: libcurl's default
    std::string userAgent = "Wavetrap";  // empty: none sent
    std::vector<std::string> headers;    // extra request headers ("Name: value")
};

class CurlTransfer {
public:
    CurlTransfer();
    ~CurlTransfer();
    CurlTransfer(const CurlTransfer&) = delete;
    CurlTransfer& operator=(const CurlTransfer&) = delete;

    // False when libcurl could not make a handle (out of resources).
    bool Ready() const { return easy_ != nullptr; }
    CURL* Easy() const { return easy_; }
    // Sets the URL and the shared options above.
    void Configure(const std::string& url, const CurlCommonOptions& options);
    // libcurl's message for a failed transfer: its error buffer, else the code's text.
    std::string Describe(CURLcode code) const;

    // Runs work inside a libcurl callback; an exception is kept (the first one) and fallback
    // returned instead, which makes libcurl end the transfer.
    template <class Result, class Work>
    Result Guard(Result fallback, Work&& work) noexcept {
        try {
            return work();
        } catch (...) {
            if (!callbackError_) callbackError_ = std::current_exception();
            return fallback;
        }
    }
    bool CallbackFailed() const { return callbackError_ != nullptr; }
    void RethrowCallbackError() const {
        if (callbackError_) std::rethrow_exception(callbackError_);
    }

private:
    CURL* easy_;
    curl_slist* headers_ = nullptr;
    curl_slist* icyAlias_ = nullptr;
    std::string url_;
    std::string userAgent_;
    char errorBuffer_[CURL_ERROR_SIZE] = {};
    std::exception_ptr callbackError_;
};

}  // namespace wt::net
