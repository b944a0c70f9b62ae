#include "wishes/StatusPageSource.h"

#include <algorithm>

#include "wishes/LiveFetch.h"
#include "wishes/StatusPages.h"

namespace wt {

namespace {

constexpr const char* kIcecastStatusPath = "status-json.xsl";
constexpr const char* kShoutcastStatsPath = "stats?json=1";

const WatchedStation* StationAt(const std::vector<WatchedStation>& stations, const std::string& path) {
    for (const WatchedStation& station : stations)
        if (UrlPath(station.url) == path) return &station;
    return nullptr;
}

}  // namespace

StatusPageSource::StatusPageSource(const net::HttpClient& client, const std::vector<WatchedStation>& stations,
                                   StatusPageOptions options)
    : client_(client), options_(options) {
    for (const WatchedStation& station : stations) {
        const std::string root = ServerRoot(station.url);
        if (root.empty()) continue;
        auto known = std::find_if(servers_.begin(), servers_.end(), [&](const Server& s) { return s.root == root; });
        if (known == servers_.end()) {
            if (static_cast<int>(servers_.size()) >= options_.maxServers) continue;
            servers_.push_back(Server{root, ServerKind::Unknown, false, 0, {}});
            known = servers_.end() - 1;
        }
        known->stations.push_back(station);
    }
}

bool StatusPageSource::ServerDue(const Server& server, std::uint32_t nowMs) const {
    return server.kind != ServerKind::NoStatusPage && (!server.asked || nowMs - server.lastAskedMs >= options_.intervalMs);
}

bool StatusPageSource::Due(std::uint32_t nowMs) const {
    return std::any_of(servers_.begin(), servers_.end(), [&](const Server& s) { return ServerDue(s, nowMs); });
}

std::vector<TWishInfo> StatusPageSource::Look(std::uint32_t nowMs, const std::vector<std::string>&,
                                              const AbortCheck& abort) {
    std::vector<TWishInfo> out;
    for (Server& server : servers_) {
        if (abort && abort()) break;
        if (!ServerDue(server, nowMs)) continue;
        server.asked = true;
        server.lastAskedMs = nowMs;
        Poll(server, out, abort);
    }
    return out;
}

void StatusPageSource::Poll(Server& server, std::vector<TWishInfo>& out, const AbortCheck& abort) {
    auto fetch = [&](const char* path) {
        return FetchLive(client_, server.root + path, {}, options_.maxBytes, options_.timeoutMs, abort);
    };
    if (server.kind != ServerKind::Shoutcast) {
        const LiveFetchResult page = fetch(kIcecastStatusPath);
        if (page.ok && ReadIcecast(server, page.body, out)) {
            server.kind = ServerKind::Icecast;
            return;
        }
        if (server.kind == ServerKind::Icecast) return;  // a bad moment of a known server
        // No answer at all says nothing about the server's pages: it is asked again later.
        if (page.status == 0 && !page.ok) return;
    }
    if (server.kind != ServerKind::Icecast) {
        const LiveFetchResult page = fetch(kShoutcastStatsPath);
        if (page.ok && ReadShoutcast(server, page.body, out)) {
            server.kind = ServerKind::Shoutcast;
            return;
        }
    }
    if (abort && abort()) return;  // stopped: nothing was learnt about the server
    if (server.kind == ServerKind::Unknown) server.kind = ServerKind::NoStatusPage;
}

bool StatusPageSource::ReadIcecast(const Server& server, const std::string& page, std::vector<TWishInfo>& out) const {
    const auto mounts = ParseIcecastStatus(page);
    // An Icecast page that does not parse now (an unescaped quote in a title) may parse later.
    if (!mounts) return LooksLikeIcecastStatus(page);
    for (const StatusMount& mount : *mounts) {
        if (!mount.serverType.empty() && !CanRipServerType(mount.serverType)) continue;
        const std::string path = UrlPath(mount.listenUrl);
        // The server's own idea of its host name may differ from the address we reach it by.
        const WatchedStation* station = StationAt(server.stations, path);
        TWishInfo hit;
        hit.URL = station ? station->url : server.root + path.substr(1);
        hit.NowPlaying = mount.title;
        hit.Genre = station && !station->genre.empty() ? station->genre : mount.genre;
        hit.Station = station ? station->title : (!mount.serverName.empty() ? mount.serverName : hit.URL);
        out.push_back(std::move(hit));
    }
    return true;
}

bool StatusPageSource::ReadShoutcast(const Server& server, const std::string& page, std::vector<TWishInfo>& out) const {
    const auto stats = ParseShoutcastStats(page);
    if (!stats) return false;
    if (!stats->serverType.empty() && !CanRipServerType(stats->serverType)) return true;
    const WatchedStation* station = StationAt(server.stations, stats->listenUrl.empty() ? "/" : stats->listenUrl);
    if (!station) station = &server.stations.front();
    TWishInfo hit;
    hit.URL = station->url;
    hit.NowPlaying = stats->title;
    hit.Genre = !station->genre.empty() ? station->genre : stats->genre;
    hit.Station = !station->title.empty() ? station->title : stats->serverName;
    out.push_back(std::move(hit));
    return true;
}

std::string StatusPageSource::Summary() const {
    const auto withPage = std::count_if(servers_.begin(), servers_.end(), [](const Server& s) {
        return s.kind == ServerKind::Icecast || s.kind == ServerKind::Shoutcast;
    });
    return Name() + ": " + std::to_string(withPage) + " of " + std::to_string(servers_.size()) + " servers";
}

std::vector<std::string> StatusPageSource::Servers() const {
    std::vector<std::string> roots;
    for (const Server& server : servers_) roots.push_back(server.root);
    return roots;
}

StatusPageSource::ServerKind StatusPageSource::KindOf(const std::string& serverRoot) const {
    for (const Server& server : servers_)
        if (server.root == serverRoot) return server.kind;
    return ServerKind::Unknown;
}

}  // namespace wt
