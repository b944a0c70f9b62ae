#pragma once
// One background thread that asks the now-playing sources (the directory listing, the servers'
// status pages) for what stations play, whenever a source is due and only while the wish list
// is not empty, and reports each new wished song through the GUI-thread dispatcher.
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/Clock.h"
#include "platform/Dispatcher.h"
#include "wishes/NowPlayingSieve.h"
#include "wishes/WishSource.h"

namespace wt {

// A hit, the wish it matched and the name of the source that saw it; on the GUI thread, while
// the watcher waits.
using LiveWishFoundEvent = std::function<void(const TWishInfo& info, const std::string& wish, const std::string& where)>;

class LiveWishWatch {
public:
    // dispatcher and clock must outlive the watch. tickMs: how often the sources are checked
    // for being due.
    LiveWishWatch(Dispatcher& dispatcher, const Clock& clock, int tickMs = 1000);
    // Stops the thread (a download under way is abandoned) and joins it. Close the dispatcher
    // first when the GUI thread no longer pumps.
    ~LiveWishWatch();
    LiveWishWatch(const LiveWishWatch&) = delete;
    LiveWishWatch& operator=(const LiveWishWatch&) = delete;

    // Before Start only.
    void AddSource(std::unique_ptr<WishSource> source);
    LiveWishFoundEvent OnWishFound;

    void Start();
    // The wishes to match, from any thread; an empty list asks no source at all.
    void SetWishes(std::vector<std::string> wishes);
    // Each source's Summary after its last look, in source order (empty ones left out); from
    // any thread.
    std::vector<std::string> Summaries() const;
    // Rounds the thread has made over its sources, whether or not any was due.
    int Rounds() const { return rounds_; }

private:
    void Run();
    struct Slot {
        std::unique_ptr<WishSource> source;
        NowPlayingSieve sieve;
    };

    Dispatcher& dispatcher_;
    const Clock& clock_;
    const int tickMs_;
    std::vector<Slot> slots_;  // fixed once started; used by the thread only
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<int> rounds_{0};
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<std::string> wishes_;  // guarded by mutex_
    std::vector<std::string> summaries_;  // guarded by mutex_, one per source
    bool wishesChanged_ = false;       // guarded by mutex_
};

}  // namespace wt
