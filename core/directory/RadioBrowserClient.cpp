#include "directory/RadioBrowserClient.h"

#include "directory/StationJson.h"
#include "net/HttpClient.h"
#include "net/PercentEncoding.h"

#ifndef WAVETRAP_VERSION
#define WAVETRAP_VERSION "0"
#endif

namespace wt {

namespace {

// A search answer is a few hundred kilobytes; far more is a broken or hostile server.
constexpr std::size_t kMaxAnswerBytes = 32u << 20;

void AddParameter(std::string& query, const char* key, const std::string& value) {
    if (value.empty()) return;
    query += query.empty() ? '?' : '&';
    query += key;
    query += '=';
    query += net::PercentEncode(value);
}

}  // namespace

std::string SearchPath(const StationQuery& q) {
    std::string query;
    AddParameter(query, "name", q.name);
    AddParameter(query, "tag", q.tag);
    AddParameter(query, "country", q.country);
    AddParameter(query, "language", q.language);
    AddParameter(query, "codec", q.codec);
    if (q.minBitRate > 0) AddParameter(query, "bitrateMin", std::to_string(q.minBitRate));
    AddParameter(query, "hidebroken", "true");
    AddParameter(query, "order", "votes");
    AddParameter(query, "reverse", "true");
    AddParameter(query, "limit", std::to_string(q.limit > 0 ? q.limit : 500));
    return "/json/stations/search" + query;
}

std::string DirectoryUserAgent() { return std::string("Wavetrap/") + WAVETRAP_VERSION; }

RadioBrowserClient::RadioBrowserClient(const net::HttpClient& http, std::vector<std::string> servers,
                                       HostLookup lookup)
    : http_(http), servers_(std::move(servers)), lookup_(std::move(lookup)), random_(std::random_device{}()) {}

std::string RadioBrowserClient::LastServer() const {
    std::lock_guard lock(mutex_);
    return lastServer_;
}

std::vector<DirectoryStation> RadioBrowserClient::Search(const StationQuery& query,
                                                         const std::function<bool()>& abort) {
    if (servers_.empty()) servers_ = DiscoverServers(lookup_, random_);
    net::HttpOptions options = http_.Defaults();
    options.userAgent = DirectoryUserAgent();
    options.headers.push_back("Accept: application/json");
    options.connectTimeoutMs = 5000;
    options.totalTimeoutMs = 30000;
    options.abort = abort;
    const std::string path = SearchPath(query);
    std::string lastFailure;
    for (const std::string& server : servers_) {
        std::string body;
        try {
            http_.Get(server + path,
                      [&](std::string_view bytes) {
                          if (body.size() + bytes.size() > kMaxAnswerBytes) return false;
                          body.append(bytes);
                          return true;
                      },
                      options);
            std::vector<DirectoryStation> stations = ParseStationJson(body);
            std::lock_guard lock(mutex_);
            lastServer_ = server;
            return stations;
        } catch (const net::HttpError& e) {
            const bool stopped = (abort && abort()) || http_.IsCancelled();
            if (e.Kind() == net::HttpErrorKind::Cancelled && stopped) throw;
            lastFailure = server + ": " + (e.Kind() == net::HttpErrorKind::Cancelled
                                               ? std::string("the answer is larger than 32 MB")
                                               : std::string(e.what()));
        } catch (const DirectoryError& e) {
            lastFailure = server + ": " + e.what();
        }
    }
    throw DirectoryError("No station directory server answered. " + lastFailure);
}

}  // namespace wt
