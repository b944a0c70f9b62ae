#pragma once
// One background search per wish: asks the station directory again and again which stations
// play a song containing the wish and reports each such station to the GUI thread.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "net/HttpClient.h"
#include "platform/Dispatcher.h"
#include "wishes/WishInfo.h"

namespace wt {

class TNetWishObject;

// Sender and hit; runs on the GUI thread while the search waits. The hit is valid only
// during the call.
using WishFoundEvent = std::function<void(TNetWishObject* sender, const TWishInfo& info)>;

// What a search needs from outside.
struct WishSearchContext {
    const net::HttpClient* client = nullptr;
    Dispatcher* dispatcher = nullptr;
    std::string rootUrl;  // the directory site's root, "http://host/"
    int pauseMs = 1000;   // pause after every pass
    // Shows the message of an error that ended a search (a box with an empty caption and OK);
    // called on the GUI thread, the search waits until it returns.
    std::function<void(const std::string& message)> showError;
};

// True when the song contains the wish, folding only 'A'..'Z'; an empty wish matches nothing.
bool WishMatches(std::string_view nowPlaying, std::string_view wish);

class TNetWishObject {
public:
    // Created suspended; set OnWishFound, then Resume().
    TNetWishObject(std::string wish, WishSearchContext context);
    // Stops the search at once (downloads under way are abandoned) and waits for its thread.
    // Close the dispatcher first: a search waiting in a hand-off would otherwise wait forever.
    ~TNetWishObject();
    TNetWishObject(const TNetWishObject&) = delete;
    TNetWishObject& operator=(const TNetWishObject&) = delete;

    const std::string Wish;
    WishFoundEvent OnWishFound;

    void Resume();
    // Asks the search to end; it finishes the pass under way (a pause ends early).
    void Terminate();
    bool Terminated() const { return terminated_; }
    // True once the thread body has returned (after a terminate request or an error).
    bool Finished() const { return finished_; }

    // Passes whose page listed at least one station.
    int Passes() const { return passes_; }
    std::vector<std::string> SeenSongs() const;

private:
    void Execute();
    void RunPass();
    void Report(const TWishInfo& hit);
    void ShowError(const std::string& message);
    bool PauseUnlessTerminated();

    WishSearchContext context_;
    std::thread thread_;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> abandon_{false};  // set by the destructor: abort downloads too
    std::atomic<bool> finished_{false};
    std::atomic<int> passes_{0};
    mutable std::mutex mutex_;
    std::condition_variable wake_;        // ends the pause early
    std::vector<std::string> seenSongs_;  // guarded by mutex_; written by the search thread
};

}  // namespace wt
