#pragma once
// Reading the status pages that streaming servers publish about themselves: Icecast's
// "/status-json.xsl" (every mount with its listen URL and current title) and SHOUTcast's
// "/stats?json=1" (the stream's current song). Both come from the network.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wt {

struct StatusMount {
    std::string listenUrl;   // Icecast: the mount's URL as the server names it; SHOUTcast: the stream path
    std::string title;       // what plays now ("artist - title" when the server keeps them apart)
    std::string serverName;
    std::string genre;
    std::string serverType;  // MIME type, may be empty
};

// The mounts of an Icecast status page ("icestats" with "source" as one object or an array);
// nullopt when the text is not such a page. Mounts without a listen URL are left out.
std::optional<std::vector<StatusMount>> ParseIcecastStatus(std::string_view json);
// Whether the text looks like an Icecast status page even if it does not parse (servers of
// some versions write titles with quotes unescaped).
bool LooksLikeIcecastStatus(std::string_view text);

// A SHOUTcast statistics answer ("songtitle", "servertitle", "servergenre", "streampath",
// "content"); nullopt when the text is not one.
std::optional<StatusMount> ParseShoutcastStats(std::string_view json);

// "http://host:port/" of an http or https address (the scheme and host lower-cased, user
// information dropped); "" for anything else.
std::string ServerRoot(std::string_view url);
// The path of an address, from its first '/' after the host, without query or fragment; "/"
// when it has none.
std::string UrlPath(std::string_view url);

}  // namespace wt
