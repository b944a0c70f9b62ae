#pragma once
// Connects the wish searches to the main window: the stored wishes start searching at
// start-up, and the "Manage Wish List" button opens the dialog that edits and restarts them.
// The searches report through the GUI-thread dispatcher; the owner closes it before this
// object is destroyed, so that no search waits for a hand-off while its thread is joined.
#include "WishListDialog.h"

#include "net/HttpClient.h"
#include "settings/SettingNames.h"
#include "wishes/WishSearches.h"

#include <memory>
#include <string>

namespace wt {
class Dispatcher;
}

namespace wt::ui {

class TForm1;

// The setting that names the station directory's root, and its default.
inline constexpr const char* kDirectorySiteSetting = setting::kDirectorySite;
// Unset by default: no directory, no wish searches.
inline constexpr const char* kDefaultDirectorySite = "";

class WishWiring {
public:
    WishWiring(TForm1& window, Dispatcher& dispatcher);
    TNetWishSearches& Searches() { return *searches_; }

private:
    TForm1& window_;
    net::HttpClient http_;
    std::unique_ptr<TNetWishSearches> searches_;
};

}  // namespace wt::ui
