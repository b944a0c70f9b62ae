#pragma once
// A station directory on 127.0.0.1 for tests: search pages "/directory/?s=..." in the
// directory's markup, listing every station whose name, genre or current song contains the
// search text (ignoring case), and one ".pls" playlist per station. Songs can be changed while
// searches run.

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "LoopbackHttpServer.h"

namespace wt::test {

class DirectoryTestServer {
public:
    struct Station {
        std::string name;
        std::string genre;
        std::string nowPlaying;
        std::string streamUrl;                   // File1 of its playlist
        std::optional<std::string> playlistBody; // replaces the generated playlist
    };

    DirectoryTestServer();

    // "http://127.0.0.1:PORT/"
    std::string RootUrl() const { return http_.Url("/"); }
    int AddStation(Station station);  // returns the station's id
    void SetNowPlaying(int id, const std::string& song);
    // The path and query of a station's playlist link as the page shows it.
    static std::string PlaylistLink(int id);
    // One station entry in the directory's markup.
    static std::string EntryHtml(int id, const Station& station);

    // Decoded search texts in arrival order.
    std::vector<std::string> Searches() const;
    std::size_t PlaylistRequests() const;
    LoopbackHttpServer& Http() { return http_; }

private:
    ScriptedResponse Answer(const RecordedRequest& request);

    mutable std::mutex mutex_;
    std::map<int, Station> stations_;     // guarded by mutex_
    std::vector<std::string> searches_;   // guarded by mutex_
    std::size_t playlistRequests_ = 0;    // guarded by mutex_
    LoopbackHttpServer http_;             // last: its threads call Answer
};

// Decodes %XX escapes and '+' of a query value.
std::string PercentDecode(std::string_view text);

}  // namespace wt::test
