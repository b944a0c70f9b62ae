#include "net/CurlTransfer.h"

#include <mutex>

namespace wt::net {

void InitCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

CurlTransfer::CurlTransfer() : easy_((InitCurlOnce(), curl_easy_init())) {}

CurlTransfer::~CurlTransfer() {
    if (easy_) curl_easy_cleanup(easy_);
    curl_slist_free_all(headers_);
    curl_slist_free_all(icyAlias_);
}

void CurlTransfer::Configure(const std::string& url, const CurlCommonOptions& options) {
    url_ = url;
    userAgent_ = options.userAgent;
    curl_easy_setopt(easy_, CURLOPT_URL, url_.c_str());
    curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy_, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy_, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy_, CURLOPT_MAXREDIRS, options.maxRedirects);
    curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
    // Shoutcast servers answer "ICY 200 OK" instead of an HTTP status line.
    icyAlias_ = curl_slist_append(icyAlias_, "ICY 200 OK");
    curl_easy_setopt(easy_, CURLOPT_HTTP200ALIASES, icyAlias_);
    curl_easy_setopt(easy_, CURLOPT_PROXY, "");  // never a proxy from the environment
    curl_easy_setopt(easy_, CURLOPT_ERRORBUFFER, errorBuffer_);
    if (!userAgent_.empty()) curl_easy_setopt(easy_, CURLOPT_USERAGENT, userAgent_.c_str());
    if (options.connectTimeoutMs > 0) curl_easy_setopt(easy_, CURLOPT_CONNECTTIMEOUT_MS, options.connectTimeoutMs);
    for (const std::string& h : options.headers) headers_ = curl_slist_append(headers_, h.c_str());
    if (headers_) curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, headers_);
}

std::string CurlTransfer::Describe(CURLcode code) const {
    return errorBuffer_[0] ? std::string(errorBuffer_) : std::string(curl_easy_strerror(code));
}

}  // namespace wt::net
