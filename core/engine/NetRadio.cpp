#include "engine/NetRadio.h"

#include <algorithm>

namespace wt {

TNetRadio::TNetRadio(Dispatcher& dispatcher, const RipOptions& options)
    : dispatcher_(dispatcher), options_(options) {}

TNetRadio::~TNetRadio() {
    StopPlaying();
    StopAll();
    channels_.clear();  // each channel joins its thread
    ended_.clear();
    stoppedPlayers_.clear();
}

TNetRadioChannel* TNetRadio::StartRip(const std::string& url, const std::string& folder,
                                      const std::string& wishes) {
    ReapFinished();
    int id = 1;
    while (id <= kMaxRips && idUsed_[id]) ++id;
    if (id > kMaxRips) throw ERipLimit();
    idUsed_[id] = true;
    auto channel = std::make_unique<TNetRadioChannel>(id, wishes, dispatcher_, options_);
    TNetRadioChannel* raw = channel.get();
    raw->OnStatus = [this](TNetRadioChannel* sender, const std::string& status) {
        if (OnStatus) OnStatus(sender, status);
    };
    raw->OnNewSong = [this](TNetRadioChannel* sender, const std::string& title) {
        if (OnNewSong) OnNewSong(sender, title);
    };
    raw->OnProgress = [this](std::int32_t channelId, std::int32_t kb) {
        if (OnProgress) OnProgress(channelId, kb);
    };
    raw->OnConnectionLost = [this](TNetRadioChannel* sender, const std::string& reason) {
        if (OnConnectionLost) OnConnectionLost(sender, reason);
    };
    raw->OnTerminating = [this](TNetRadioChannel* sender) { ChannelEnded(sender); };
    channels_.push_back(std::move(channel));
    raw->SetFolder(folder);
    raw->StartRip(url);
    return raw;
}

TNetRadioChannel* TNetRadio::FindChannel(std::int32_t id) const {
    for (const auto& channel : channels_)
        if (channel->ID == id) return channel.get();
    return nullptr;
}

void TNetRadio::StopRip(std::int32_t id) {
    if (TNetRadioChannel* channel = FindChannel(id)) channel->Terminate();
}

void TNetRadio::StopAll() {
    for (const auto& channel : channels_) channel->Terminate();
}

bool TNetRadio::IsRipping(const std::string& url) const {
    for (const auto& channel : channels_) {
        if (channel->Terminated() || channel->IsWishChannel()) continue;
        if (channel->URL() == url) return true;
    }
    return false;
}

std::vector<TNetRadioChannel*> TNetRadio::Channels() const {
    std::vector<TNetRadioChannel*> out;
    for (const auto& channel : channels_) out.push_back(channel.get());
    return out;
}

void TNetRadio::ChannelEnded(TNetRadioChannel* channel) {
    ReapFinished();
    auto it = std::find_if(channels_.begin(), channels_.end(),
                           [channel](const auto& c) { return c.get() == channel; });
    if (it == channels_.end()) return;
    // The channel's thread is still inside this hand-off: keep the object until it returns.
    ended_.push_back(std::move(*it));
    channels_.erase(it);
    idUsed_[channel->ID] = false;
    if (OnChannelTerminating) OnChannelTerminating(channel);
}

void TNetRadio::Play(const std::string& url) {
    StopPlaying();
    player_ = std::make_unique<StreamPlayer>(dispatcher_);
    player_->OnTitle = [this](const std::string& title) {
        if (OnPlayerTitle) OnPlayerTitle(title);
    };
    player_->OnFailure = [this] {
        if (OnPlayerFailed) OnPlayerFailed();
    };
    player_->PlayUrl(url);
}

void TNetRadio::PlayFile(const std::string& path) {
    StopPlaying();
    player_ = std::make_unique<StreamPlayer>(dispatcher_);
    player_->PlayFile(path);
}

void TNetRadio::StopPlaying() {
    // The player's thread may be waiting to hand a title to this (GUI) thread: never join it
    // here; it is freed once it has finished.
    std::erase_if(stoppedPlayers_, [](const auto& p) { return p->Finished(); });
    if (!player_) return;
    player_->RequestStop();
    stoppedPlayers_.push_back(std::move(player_));
}

void TNetRadio::ReapFinished() {
    std::erase_if(ended_, [](const auto& channel) { return channel->Finished(); });
}

}  // namespace wt
