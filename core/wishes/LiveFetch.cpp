#include "wishes/LiveFetch.h"

#include <algorithm>

namespace wt {

LiveFetchResult FetchLive(const net::HttpClient& client, const std::string& url,
                          const std::vector<std::string>& headers, std::size_t maxBytes, long timeoutMs,
                          const AbortCheck& abort) {
    LiveFetchResult result;
    net::HttpOptions options;
    options.connectTimeoutMs = std::min<long>(timeoutMs, kDirectoryConnectTimeoutMs);
    options.totalTimeoutMs = timeoutMs;
    options.stallTimeoutMs = std::min<long>(timeoutMs, kDirectoryStallTimeoutMs);
    options.headers = headers;
    options.acceptCookies = false;
    options.abort = abort;
    bool cut = false;
    try {
        const net::HttpResponseHead head = client.Get(
            url,
            [&](std::string_view bytes) {
                const std::size_t room = maxBytes - result.body.size();
                result.body.append(bytes.substr(0, room));
                cut = bytes.size() >= room;
                return !cut;
            },
            options, [&](const net::HttpResponseHead& h) { result.lastModified = h.Header("Last-Modified"); });
        result.status = head.status;
        result.ok = true;
    } catch (const net::HttpError& error) {
        result.status = error.Status();
        // Stopping at the size limit is ours, not a failure; anything else is.
        result.ok = cut && error.Kind() == net::HttpErrorKind::Cancelled && !(abort && abort());
        if (result.ok) result.status = 200;
        if (!result.ok) result.body.clear();
    }
    return result;
}

}  // namespace wt
