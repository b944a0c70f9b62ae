#pragma once
// The ripping manager: up to 198 rip channels at once under ids 1 to 198, handed out lowest
// free first, and the relay of their notifications to one owner on the GUI thread. Every
// method runs on the GUI thread. The manager owns its channels; a channel that has ended is
// reclaimed (its thread joined) on the GUI thread after its terminating notification.
#include "engine/NetRadioChannel.h"
#include "engine/StreamPlayer.h"
#include "platform/Dispatcher.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace wt {

// The one error the engine raises: no rip id is free.
class ERipLimit : public std::runtime_error {
public:
    ERipLimit() : std::runtime_error("You have reached the rip limit Wave Trap can support.") {}
};

class TNetRadio {
public:
    static constexpr int kMaxRips = 198;

    explicit TNetRadio(Dispatcher& dispatcher, const RipOptions& options = {});
    // Asks every channel to stop and waits for their threads. Close the dispatcher first:
    // a channel waiting in a hand-off is released only then.
    ~TNetRadio();
    TNetRadio(const TNetRadio&) = delete;
    TNetRadio& operator=(const TNetRadio&) = delete;

    TNetRadioChannel::StatusEvent OnStatus;
    TNetRadioChannel::NewSongEvent OnNewSong;
    TNetRadioChannel::ProgressEvent OnProgress;
    TNetRadioChannel::TerminatingEvent OnChannelTerminating;
    // A rip lost its connection and tries again (the reason in words); for logs.
    TNetRadioChannel::ConnectionLostEvent OnConnectionLost;

    // Starts a rip of url into folder (created when missing); wishes is one wish per line or
    // empty: a rip given wishes is a wish rip (see TNetRadioChannel). Throws ERipLimit when
    // 198 rips run.
    TNetRadioChannel* StartRip(const std::string& url, const std::string& folder, const std::string& wishes);
    TNetRadioChannel* FindChannel(std::int32_t id) const;
    // Asks the channel to stop; it ends by itself and is reported through OnChannelTerminating.
    void StopRip(std::int32_t id);
    void StopAll();
    // An ordinary (not wish) rip, not asked to stop, records exactly this URL.
    bool IsRipping(const std::string& url) const;
    // The running rip channels in start order.
    std::vector<TNetRadioChannel*> Channels() const;

    // The player: one station (or file) at a time; a new Play replaces it. Its titles are
    // raised as OnPlayerTitle. A stream that cannot be opened simply plays nothing.
    std::function<void(const std::string& title)> OnPlayerTitle;
    // The station last asked to play could not be played.
    std::function<void()> OnPlayerFailed;
    void Play(const std::string& url);
    void PlayFile(const std::string& path);
    void StopPlaying();
    StreamPlayer* Player() const { return player_.get(); }

private:
    void ChannelEnded(TNetRadioChannel* channel);
    void ReapFinished();

    Dispatcher& dispatcher_;
    const RipOptions options_;
    std::vector<std::unique_ptr<TNetRadioChannel>> channels_;
    // Channels whose end has been reported; joined and freed at the next manager call.
    std::vector<std::unique_ptr<TNetRadioChannel>> ended_;
    std::array<bool, kMaxRips + 1> idUsed_{};
    std::unique_ptr<StreamPlayer> player_;
    // Players asked to stop; joined once their threads have finished (or at destruction).
    std::vector<std::unique_ptr<StreamPlayer>> stoppedPlayers_;
};

}  // namespace wt
