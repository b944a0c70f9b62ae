#pragma once
// Drops the audio that a server replays when a listener connects again. Icecast, for one,
// starts every connection with a burst of the audio it sent before (64 KB by default), so a
// rip that reconnects would otherwise hold that stretch twice. The filter remembers the last
// audio that went through; after Reconnected() it holds the new connection's bytes (and the
// metadata texts among them, in place) until it can tell where they overlap the remembered
// end, then lets through what follows the overlap.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace wt {

class ReplayFilter {
public:
    struct Sink {
        // Once per reconnection, before the first byte after it: seamless is true when the
        // new bytes continue the old ones exactly (an overlap was found and dropped); next
        // holds the bytes that follow.
        std::function<void(bool seamless, std::string_view next)> resumed;
        std::function<void(const char* data, std::size_t size)> audio;
        std::function<void(const std::string& text)> meta;
    };

    // How much audio is remembered; a replay longer than this is only partly recognised.
    static constexpr std::size_t kHistoryBytes = 96 * 1024;
    // Bytes of a new connection compared before deciding it does not replay anything.
    static constexpr std::size_t kProbeBytes = 1024;

    explicit ReplayFilter(Sink sink) : sink_(std::move(sink)) {}

    void Audio(const char* data, std::size_t size);
    void Meta(const std::string& text);
    // A new connection starts; its first bytes may repeat what came before.
    void Reconnected();
    // The connection ended or the rip stops: decides on what is held and lets it through.
    void Finish();
    bool Holding() const { return holding_; }

private:
    void Remember(const char* data, std::size_t size);
    void Decide(bool final);
    void Release(std::size_t drop, bool seamless);

    Sink sink_;
    std::string history_;
    bool holding_ = false;
    std::string pending_;
    std::vector<std::pair<std::size_t, std::string>> pendingMeta_;  // at offsets into pending_
};

}  // namespace wt
