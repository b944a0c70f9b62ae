#pragma once
// One GET of a now-playing source (a directory listing or a server's status page), with the
// status kept so that callers can tell "not modified" and "no such page" from a failure.
#include <string>
#include <vector>

#include "net/HttpClient.h"
#include "wishes/WishAPI.h"

namespace wt {

struct LiveFetchResult {
    long status = 0;           // the HTTP status; 0 when no answer came
    bool ok = false;           // a 2xx answer whose body arrived (up to maxBytes)
    std::string body;
    std::string lastModified;  // the answer's Last-Modified header
};

// Never throws; headers are extra request lines ("Name: value"). A body larger than maxBytes
// is cut there (and still ok). timeoutMs bounds the whole request.
LiveFetchResult FetchLive(const net::HttpClient& client, const std::string& url,
                          const std::vector<std::string>& headers, std::size_t maxBytes, long timeoutMs,
                          const AbortCheck& abort);

}  // namespace wt
