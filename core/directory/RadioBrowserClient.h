#pragma once
// Searching the radio-browser directory. Each search asks one server after the other until one
// answers with a station list; the servers come from the caller (a setting) or, when it names
// none, from discovery on first use.
//
// A client is used by one thread at a time (the dialog's search thread); it only reads the
// HttpClient, which may be shared.
#include <functional>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "directory/DirectoryServers.h"
#include "directory/DirectoryStation.h"

namespace wt::net {
class HttpClient;
}

namespace wt {

struct StationQuery {
    std::string name;
    std::string tag;
    std::string country;
    std::string language;
    std::string codec;
    int minBitRate = 0;  // kbit/s; 0 means any
    int limit = 500;
};

// The request path and query of a search: empty criteria are left out; broken stations are
// hidden and the most voted come first.
std::string SearchPath(const StationQuery& query);

// "Wavetrap/<version>", the user agent the directory asks clients to identify with.
std::string DirectoryUserAgent();

class RadioBrowserClient {
public:
    RadioBrowserClient(const net::HttpClient& http, std::vector<std::string> servers,
                       HostLookup lookup = SystemHostLookup());

    // Throws net::HttpError (Cancelled) when abort says so, otherwise DirectoryError naming
    // the last server's failure when no server answered.
    std::vector<DirectoryStation> Search(const StationQuery& query, const std::function<bool()>& abort = {});

    // The base URL of the server that answered last, or "".
    std::string LastServer() const;

private:
    const net::HttpClient& http_;
    std::vector<std::string> servers_;
    HostLookup lookup_;
    std::mt19937 random_;
    mutable std::mutex mutex_;
    std::string lastServer_;  // guarded by mutex_
};

}  // namespace wt
