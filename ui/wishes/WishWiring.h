#pragma once
// Connects the wish searches to the main window: the stored wishes start searching at
// start-up, and the "Manage Wish List" button opens the dialog that edits and restarts them.
// Two kinds of search run: the station directory's search page, one search per wish (when
// "DirectorySite" is set), and one watch of the live now-playing sources for all wishes (the
// Icecast directory listing and the status pages of the catalogue's servers). Both report
// through the GUI-thread dispatcher to the window's one handler of hits; the owner closes the
// dispatcher before this object is destroyed, so that no search waits for a hand-off while
// its thread is joined.
#include "WishListDialog.h"

#include "net/HttpClient.h"
#include "settings/SettingNames.h"
#include "wishes/LiveWishWatch.h"
#include "wishes/WishSearches.h"

#include <QDateTime>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace wt {
class Dispatcher;
}

namespace wt::ui {

class TForm1;

// The setting that names the station directory's root, and its default.
inline constexpr const char* kDirectorySiteSetting = setting::kDirectorySite;
// Unset by default: no directory, no directory searches.
inline constexpr const char* kDefaultDirectorySite = "";

class WishWiring {
public:
    WishWiring(TForm1& window, Dispatcher& dispatcher);
    ~WishWiring();
    WishSearches& Searches() { return *searches_; }

    // When and where the wish last matched, as the dialog shows it; "" when never.
    QString LastMatch(const std::string& wish) const;
    // "Looking at " and what each live source's last look found; "" before any look.
    QString LookingAt() const;

private:
    struct Match {
        std::string wish;
        QDateTime when;
        std::string station;
        std::string song;
        std::string where;
    };
    void StartWish(const std::string& wish);
    void RemoveWish(const std::string& wish);
    void StopAllWishes();
    // The live watch, made once the catalogue is open (its stations name the servers).
    void EnsureLiveWatch();
    void Found(const TWishInfo& info, const std::string& wish, const std::string& where);
    // The last matches are kept in "WishMatches", one wish a line: the wish, the time, the
    // station, the source and the song, separated by tabs.
    void LoadMatches();
    void SaveMatches();

    TForm1& window_;
    Dispatcher& dispatcher_;
    net::HttpClient http_;
    bool hasDirectory_ = false;
    std::unique_ptr<WishSearches> searches_;
    std::unique_ptr<LiveWishWatch> live_;
    std::vector<std::string> liveWishes_;  // the wishes being watched, as the searches run
    std::map<std::string, Match> matches_;  // by lower-cased wish; GUI thread
};

}  // namespace wt::ui
