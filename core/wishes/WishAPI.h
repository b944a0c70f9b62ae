#pragma once
// The station directory's web side: downloading pages and files, resolving station
// playlists and searching the directory. Stateless; safe to call from several threads at
// once with one shared client.
#include <functional>
#include <string>
#include <string_view>

#include "net/HttpClient.h"
#include "wishes/NetWishLists.h"

namespace wt {

// Requests of the directory side give up on a host that does not answer or a transfer that
// stops, so a wish search never hangs on one request.
constexpr long kDirectoryConnectTimeoutMs = 15000;
constexpr long kDirectoryStallTimeoutMs = 30000;
// A directory page or playlist larger than this is cut here: a playlist address that
// answers with an endless audio stream must not fill the memory.
constexpr size_t kMaxDirectoryPageBytes = 8 * 1024 * 1024;
constexpr size_t kMaxPlaylistBytes = 64 * 1024;

// Called between reads of a download; true stops it (what arrived stays).
using AbortCheck = std::function<bool()>;

// Appends the body of a GET of url to stream. headers: extra request header lines ("Name:
// value", separated by CR LF or LF), usually none. Failures are silent: stream keeps what
// arrived, and an error answer (status other than 2xx) adds nothing.
void DownloadURL(const net::HttpClient& client, std::string& stream, const std::string& url,
                 std::string_view headers = {}, size_t maxBytes = kMaxDirectoryPageBytes,
                 const AbortCheck& abort = {});

// Downloads url into the file fileName (replaced). True on success; after a failure the file
// is removed so that a later reader never takes an older download for this one.
bool DownloadFile(const net::HttpClient& client, const std::string& url, const std::string& fileName);

// The stream address of a station: downloads its playlist at url into memory (each caller
// reads its own download) and returns the http or https value of "File1" in section
// "playlist", or "".
std::string ResolvePlaylist(const net::HttpClient& client, const std::string& url,
                            const AbortCheck& abort = {});

// Parses a search result page, resolving each entry's playlist through client.
TNetWishLists ParseDirectoryPage(const net::HttpClient& client, std::string_view page,
                                 std::string_view rootUrl, const AbortCheck& abort = {});

// The directory's search address for a wish: rootUrl + "directory/?s=" + the wish,
// percent-encoded so that spaces, '&' or '#' cannot change the request.
std::string DirectorySearchUrl(std::string_view rootUrl, std::string_view wish);

// The page as text: lines split at CR, LF or CR LF (a NUL byte ends the text) and joined
// again with CR LF after every line.
std::string PageText(std::string_view bytes);

}  // namespace wt
