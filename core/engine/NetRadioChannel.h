#pragma once
// One station channel: a thread that receives a station's stream and writes every song it
// announces to a file of its own, named after the title, in the channel's folder. Status,
// new songs and kilobytes are handed to the GUI thread synchronously through the dispatcher.
//
// Lock order: the channel's lock_ is the only lock taken here; it is never held during a
// hand-off to the GUI thread.
#include "platform/Dispatcher.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace wt {

class TNetRadioChannel {
public:
    using StatusEvent = std::function<void(TNetRadioChannel* sender, const std::string& status)>;
    using NewSongEvent = std::function<void(TNetRadioChannel* sender, const std::string& title)>;
    using ProgressEvent = std::function<void(std::int32_t id, std::int32_t kb)>;
    using TerminatingEvent = std::function<void(TNetRadioChannel* sender)>;

    // How often a dropped stream is reconnected, and the pause before the first retry
    // (doubled for each further one).
    static constexpr int kReconnectAttempts = 3;
    static constexpr int kReconnectPauseMs = 500;

    // wishes: one wish per line, or empty.
    TNetRadioChannel(std::int32_t id, const std::string& wishes, Dispatcher& dispatcher);
    // Asks the thread to stop and waits for it. The dispatcher must be closed, or the GUI
    // thread free to run hand-offs, or this waits for ever.
    ~TNetRadioChannel();
    TNetRadioChannel(const TNetRadioChannel&) = delete;
    TNetRadioChannel& operator=(const TNetRadioChannel&) = delete;

    // Events: set them before StartRip; they run on the GUI thread.
    StatusEvent OnStatus;
    NewSongEvent OnNewSong;
    ProgressEvent OnProgress;
    TerminatingEvent OnTerminating;

    // Sets the output folder (ending in '/') and creates it with its parents; failures are
    // ignored (the first song's file then cannot be created).
    void SetFolder(const std::string& folder);
    // Starts the thread on the stream URL.
    void StartRip(const std::string& url);
    // Asks the thread to stop; it ends within a second.
    void Terminate();

    const std::int32_t ID;
    bool Terminated() const { return terminated_; }
    // The thread body has returned (after its terminating notification).
    bool Finished() const { return finished_; }
    // The stream URL while the rip runs; empty once it has ended.
    std::string URL() const;
    std::string Folder() const;
    int SongCount() const { return songCount_; }
    // A channel whose folder name contains "wish" (any case) rips for the wish list.
    bool IsWishChannel() const;
    // Whether a wish matches the title: some non-empty wish occurs in it, ignoring case.
    bool MatchesWish(const std::string& title) const;

private:
    void Body();
    void SetStatus(const std::string& status);
    void HandleAudio(const char* data, std::size_t size);
    void HandleMeta(const std::string& metadata);
    // Closes the current song's file and opens the new one; false when the rip must stop.
    bool SongChanged(const std::string& title);
    void CloseSongFile();  // lock_ held
    void Pause(int ms);

    Dispatcher& dispatcher_;
    std::thread thread_;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
    std::atomic<int> songCount_{-1};
    std::string lastStatus_;  // channel thread only

    mutable std::mutex lock_;
    std::string url_;               // guarded by lock_
    std::string folder_;            // guarded by lock_
    std::vector<std::string> wishes_;  // guarded by lock_
    std::string lastTitle_;         // guarded by lock_; empty until the first title
    std::string filePath_;          // guarded by lock_; the open song's file
    int fd_ = -1;                   // guarded by lock_
    std::uint64_t songBytes_ = 0;   // guarded by lock_
    std::int32_t reportedKB_ = -1;  // channel thread only
};

}  // namespace wt
