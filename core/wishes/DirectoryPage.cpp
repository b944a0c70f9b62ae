#include "wishes/DirectoryPage.h"

#include "platform/TextEncoding.h"

namespace wt {

namespace {

// The directory's markup around each station entry; these exact sequences are what the
// directory publishes.
constexpr std::string_view kPlaylistMarker = "/sbin/shoutcast-playlist.pls?";
constexpr std::string_view kTuneinMarker = "\"><img src=\"/images/tunein.gif\"";
constexpr std::string_view kGenreStart = "<b>[";
constexpr std::string_view kGenreEnd = "]</font></b>";
constexpr std::string_view kSongStart = "Now Playing:</font> ";
constexpr std::string_view kSongEnd = "</font></font></td>";
constexpr std::string_view kStationLinkMarker = "<a id=\"listlinks\" target=\"_scurl\" href=";

constexpr size_t npos = std::string::npos;

// Takes the text between the first start marker of s and the first end marker after it and
// removes both markers with that text from s. Leaves s alone when either is missing.
std::string CutBetween(std::string& s, std::string_view start, std::string_view end) {
    const size_t a = s.find(start);
    if (a == npos) return {};
    const size_t b = s.find(end, a + start.size());
    if (b == npos) return {};
    std::string field = s.substr(a + start.size(), b - a - start.size());
    s.erase(a, b + end.size() - a);
    return field;
}

// The station's name: the text of the first station link. Removes everything before that
// text; the text itself stays in s.
std::string TakeStationName(std::string& s) {
    const size_t link = s.find(kStationLinkMarker);
    if (link == npos) return {};
    s.erase(0, link + 1);
    const size_t tagEnd = s.find('>');
    if (tagEnd == npos) return {};
    s.erase(0, tagEnd + 1);
    const size_t close = s.find("</a>");
    if (close == npos) return {};
    return s.substr(0, close);
}

}  // namespace

TNetWishLists ParseDirectoryPage(std::string_view page, std::string_view rootUrl,
                                 const PlaylistResolver& resolve) {
    TNetWishLists list;
    std::string s(page);
    while (list.Count() < kMaxHitsPerPage) {
        const size_t playlist = s.find(kPlaylistMarker);
        if (playlist == npos) break;
        const size_t tunein = s.find(kTuneinMarker, playlist + kPlaylistMarker.size());
        if (tunein == npos) break;

        TWishInfo info;
        const std::string link = s.substr(playlist, tunein - playlist);
        if (resolve) info.URL = resolve(std::string(rootUrl) + link);
        s.erase(playlist, tunein + kTuneinMarker.size() - playlist);

        info.Genre = DecodeText(CutBetween(s, kGenreStart, kGenreEnd));
        info.NowPlaying = DecodeText(CutBetween(s, kSongStart, kSongEnd));
        info.Station = DecodeText(TakeStationName(s));
        list.Add(std::move(info));
    }
    return list;
}

}  // namespace wt
