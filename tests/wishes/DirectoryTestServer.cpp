#include "DirectoryTestServer.h"

#include "platform/StringList.h"

namespace wt::test {

namespace {

constexpr std::string_view kSearchPrefix = "/directory/?s=";
constexpr std::string_view kPlaylistPrefix = "//sbin/shoutcast-playlist.pls?rn=";

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string PercentDecode(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            out += ' ';
        } else if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
                   HexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

DirectoryTestServer::DirectoryTestServer() {
    http_.SetHandler([this](const RecordedRequest& r) { return Answer(r); });
}

int DirectoryTestServer::AddStation(Station station) {
    std::lock_guard lock(mutex_);
    const int id = static_cast<int>(stations_.size()) + 1;
    stations_[id] = std::move(station);
    return id;
}

void DirectoryTestServer::SetNowPlaying(int id, const std::string& song) {
    std::lock_guard lock(mutex_);
    stations_.at(id).nowPlaying = song;
}

std::string DirectoryTestServer::PlaylistLink(int id) {
    return "/sbin/shoutcast-playlist.pls?rn=" + std::to_string(id) + "&file=filename.pls";
}

std::string DirectoryTestServer::EntryHtml(int id, const Station& s) {
    return "<tr><td><a href=\"" + PlaylistLink(id) +
           "\"><img src=\"/images/tunein.gif\" border=\"0\"></a></td>\r\n"
           "<td><font face=\"Arial\" size=\"2\"><b>[" + s.genre + "]</font></b> "
           "<a id=\"listlinks\" target=\"_scurl\" href=\"http://example.invalid/" + std::to_string(id) +
           "\">" + s.name + "</a><br>\r\n"
           "<font color=\"#808080\" size=\"1\"><font color=\"#000000\">Now Playing:</font> " +
           s.nowPlaying + "</font></font></td></tr>\r\n";
}

std::vector<std::string> DirectoryTestServer::Searches() const {
    std::lock_guard lock(mutex_);
    return searches_;
}

std::size_t DirectoryTestServer::PlaylistRequests() const {
    std::lock_guard lock(mutex_);
    return playlistRequests_;
}

ScriptedResponse DirectoryTestServer::Answer(const RecordedRequest& request) {
    std::lock_guard lock(mutex_);
    const std::string_view target = request.target;
    if (target.starts_with(kSearchPrefix)) {
        const std::string query = PercentDecode(target.substr(kSearchPrefix.size()));
        searches_.push_back(query);
        std::string page = "<html><head><title>Station directory</title></head><body><table>\r\n";
        for (const auto& [id, s] : stations_)
            if (!query.empty() && (ContainsIgnoreCase(s.name, query) || ContainsIgnoreCase(s.genre, query) ||
                                   ContainsIgnoreCase(s.nowPlaying, query)))
                page += EntryHtml(id, s);
        page += "</table></body></html>\r\n";
        return ScriptedResponse::Ok(page);
    }
    if (target.starts_with(kPlaylistPrefix)) {
        ++playlistRequests_;
        const int id = std::atoi(std::string(target.substr(kPlaylistPrefix.size())).c_str());
        const auto it = stations_.find(id);
        if (it == stations_.end()) return ScriptedResponse::Status(404, "Not Found");
        const Station& s = it->second;
        const std::string body = s.playlistBody ? *s.playlistBody
                                                : "[playlist]\r\nnumberofentries=1\r\nFile1=" + s.streamUrl +
                                                      "\r\nTitle1=" + s.name + "\r\nLength1=-1\r\nVersion=2\r\n";
        return ScriptedResponse::Ok(body, "audio/x-scpls");
    }
    return ScriptedResponse::Status(404, "Not Found");
}

}  // namespace wt::test
