#pragma once
// One station channel: a thread that receives a station's stream and writes every song it
// announces to a file of its own, named after the title, in the channel's folder. Songs are
// cut between audio frames or Ogg pages; a dropped connection is reconnected until the rip is stopped.
// Status, new songs and kilobytes are handed to the GUI thread synchronously through the
// dispatcher.
//
// Threads: the stream is received on the channel's own thread, so everything the audio and
// metadata handlers touch belongs to that thread. lock_ guards what the GUI thread reads.
// Lock order: lock_ is never held together with another lock (the song-name claims of
// SongFiles take theirs while lock_ is free), and no lock is held during a hand-off to the
// GUI thread.
#include "engine/AudioFrames.h"
#include "engine/StreamCutter.h"
#include "engine/ReplayFilter.h"
#include "engine/RipOptions.h"
#include "engine/SongFileWriter.h"
#include "platform/Dispatcher.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
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
    // The connection was lost or refused and will be tried again; reason in words.
    using ConnectionLostEvent = std::function<void(TNetRadioChannel* sender, const std::string& reason)>;

    // wishes: one wish per line, or empty. A channel given wishes rips for the wish list:
    // it keeps the songs that match a wish and ends at the first that matches none.
    TNetRadioChannel(std::int32_t id, const std::string& wishes, Dispatcher& dispatcher,
                     const RipOptions& options = {});
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
    ConnectionLostEvent OnConnectionLost;

    // Sets the output folder (ending in '/') and creates it with its parents; failures are
    // ignored here (the song's file then cannot be created, which is shown).
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
    // The file the current song is written to, or "" when none is open.
    std::string SongFile() const;
    int SongCount() const { return songCount_; }
    // Started by a wish hit (given wishes), whatever its folder is called.
    bool IsWishChannel() const { return wishRip_; }
    // Whether a wish matches the title: some non-empty wish occurs in it, ignoring case.
    bool MatchesWish(const std::string& title) const;
    // Some connection of this rip has delivered audio.
    bool EverReceived() const { return everReceived_; }

private:
    void Body();
    void SetStatus(const std::string& status);
    void Pause(int ms);
    bool StopNow() const { return terminated_ || abort_; }
    void Abort(const std::string& status);

    // The stream's pieces, in the order they pass: received audio and metadata, the replay
    // filter, the frame cutter, the song file.
    void ConnectionOpened(const std::string& contentType);
    void ReceivedAudio(const char* data, std::size_t size);
    void TitleText(const std::string& metadata);
    void Announce(const std::string& title, std::uint64_t position);
    void Frame(const char* data, std::size_t size, std::uint64_t position, bool isFrame);
    void StartSong(const std::string& title);
    void NotifyNewSong(const std::string& title);
    void CloseSong();
    void WriteFailed();
    void Tick();
    void ReportProgress(bool now);

    Dispatcher& dispatcher_;
    const RipOptions options_;
    const bool wishRip_;
    std::thread thread_;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> abort_{false};  // the rip ends by itself (refused stream, disk full ...)
    std::atomic<bool> finished_{false};
    std::atomic<bool> everReceived_{false};
    std::atomic<int> songCount_{-1};

    // Channel thread only.
    std::string lastStatus_;
    std::string contentType_;
    std::string sniffed_;           // first bytes of the connection, for the refusal check
    bool connectionAudio_ = false;  // this connection delivered audio
    ReplayFilter replay_;
    StreamCutter cutter_;
    SongFileWriter writer_;
    std::string claimedPath_;       // the song's name as claimed among this process's channels
    std::string lastTitle_;         // the song being written; empty until the first title
    std::optional<std::string> pendingTitle_;  // announced, starts at the next frame from pendingAt_
    std::uint64_t pendingAt_ = 0;
    // A wish rip's unwished title heard in the server's burst, before any wished song: it ends
    // the rip only if it still plays once the burst is over (see StartSong).
    std::optional<std::string> burstTitle_;
    bool wishedSongSeen_ = false;
    bool writeFailed_ = false;      // the status shows a write failure
    std::int32_t reportedKB_ = -1;
    std::chrono::steady_clock::time_point lastFlush_{}, lastProgress_{};

    mutable std::mutex lock_;
    std::string url_;                  // guarded by lock_
    std::string folder_;               // guarded by lock_
    std::vector<std::string> wishes_;  // guarded by lock_
    std::string songFile_;             // guarded by lock_
};

}  // namespace wt
