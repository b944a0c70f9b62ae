#pragma once
// The status pages of the servers the user's stations are on, as a now-playing source. One
// request per server covers all its mounts; a server is asked at most once per interval, at
// most maxServers servers are watched (the first ones of the station list, which the caller
// orders by preference), and a server that answers without a status page is left alone after
// one try (one that does not answer at all is tried again at the next interval).
#include <cstdint>
#include <string>
#include <vector>

#include "net/HttpClient.h"
#include "wishes/WishSource.h"

namespace wt {

struct WatchedStation {
    std::string url;    // the station's stream address
    std::string title;  // its name in the catalogue
    std::string genre;
};

struct StatusPageOptions {
    std::uint32_t intervalMs = 30000;
    int maxServers = 50;
    long timeoutMs = 10000;
    std::size_t maxBytes = 1024 * 1024;  // a server that answers with audio is cut here
};

class StatusPageSource : public WishSource {
public:
    enum class ServerKind { Unknown, Icecast, Shoutcast, NoStatusPage };

    // client must outlive the source.
    StatusPageSource(const net::HttpClient& client, const std::vector<WatchedStation>& stations,
                     StatusPageOptions options);
    bool Due(std::uint32_t nowMs) const override;
    std::vector<TWishInfo> Look(std::uint32_t nowMs, const std::vector<std::string>& wishes,
                                const AbortCheck& abort) override;
    std::string Name() const override { return "status pages"; }
    // "status pages: 3 of 5 servers" (those known to have one, of those watched).
    std::string Summary() const override;

    // The servers watched, as "http://host:port/", in order.
    std::vector<std::string> Servers() const;
    ServerKind KindOf(const std::string& serverRoot) const;

private:
    struct Server {
        std::string root;
        ServerKind kind = ServerKind::Unknown;
        bool asked = false;
        std::uint32_t lastAskedMs = 0;
        std::vector<WatchedStation> stations;
    };
    bool ServerDue(const Server& server, std::uint32_t nowMs) const;
    void Poll(Server& server, std::vector<TWishInfo>& out, const AbortCheck& abort);
    bool ReadIcecast(const Server& server, const std::string& page, std::vector<TWishInfo>& out) const;
    bool ReadShoutcast(const Server& server, const std::string& page, std::vector<TWishInfo>& out) const;

    const net::HttpClient& client_;
    StatusPageOptions options_;
    std::vector<Server> servers_;
};

}  // namespace wt
