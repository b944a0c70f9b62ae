#include "wishes/WishAPI.h"

#include <cstdio>

#include "net/PercentEncoding.h"
#include "platform/StringList.h"
#include "wishes/DirectoryPage.h"
#include "wishes/PlaylistReader.h"

namespace wt {

namespace {

// The directory gets plain requests of its own, whatever the client's defaults carry for
// other servers.
net::HttpOptions DirectoryOptions(const AbortCheck& abort) {
    net::HttpOptions options;
    options.userAgent = "Delphi Function: Download";
    options.connectTimeoutMs = kDirectoryConnectTimeoutMs;
    options.stallTimeoutMs = kDirectoryStallTimeoutMs;
    options.abort = abort;
    return options;
}

}  // namespace

void DownloadURL(const net::HttpClient& client, std::string& stream, const std::string& url,
                 std::string_view headers, size_t maxBytes, const AbortCheck& abort) {
    net::HttpOptions options = DirectoryOptions(abort);
    for (std::string& line : SplitLines(headers))
        if (!line.empty()) options.headers.push_back(std::move(line));
    size_t received = 0;
    try {
        client.Get(url, [&](std::string_view bytes) {
            const size_t room = maxBytes - received;
            stream.append(bytes.substr(0, room));
            received += std::min(room, bytes.size());
            return received < maxBytes;
        }, options);
    } catch (const net::HttpError&) {
        // Silent by design: the caller works with what arrived (possibly nothing).
    }
}

bool DownloadFile(const net::HttpClient& client, const std::string& url, const std::string& fileName) {
    std::remove(fileName.c_str());
    try {
        client.GetToFile(url, fileName);
        return true;
    } catch (const net::HttpError&) {
        std::remove(fileName.c_str());
        return false;
    }
}

std::string ResolvePlaylist(const net::HttpClient& client, const std::string& url, const AbortCheck& abort) {
    std::string text;
    DownloadURL(client, text, url, {}, kMaxPlaylistBytes, abort);
    return PlaylistStreamUrl(text);
}

TNetWishLists ParseDirectoryPage(const net::HttpClient& client, std::string_view page,
                                 std::string_view rootUrl, const AbortCheck& abort) {
    return ParseDirectoryPage(page, rootUrl, [&](const std::string& playlistUrl) {
        return ResolvePlaylist(client, playlistUrl, abort);
    });
}

std::string DirectorySearchUrl(std::string_view rootUrl, std::string_view wish) {
    return std::string(rootUrl) + "directory/?s=" + net::PercentEncode(wish);
}

std::string PageText(std::string_view bytes) {
    const size_t nul = bytes.find('\0');
    if (nul != std::string_view::npos) bytes = bytes.substr(0, nul);
    return JoinLinesCrLf(SplitLines(bytes));
}

}  // namespace wt
