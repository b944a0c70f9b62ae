#pragma once
// Drops the audio that a server replays when a listener connects again. Icecast, for one,
// starts every connection with a burst of the audio it sent before (64 KB by default), so a
// rip that reconnects would otherwise hold that stretch twice. The filter remembers the last
// few kilobytes that went through; after Reconnected() it holds the new connection's bytes
// (and the metadata texts among them, in place) until it finds those kilobytes among them,
// then lets through what follows. A new connection that starts with no more than the
// remembered end is recognised as soon as it has sent that much; one that replays nothing is
// let through after kMaxReplayBytes, or when it ends.
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

    // The end of the audio looked for in a new connection.
    static constexpr std::size_t kAnchorBytes = 4096;
    // The longest replay recognised: a new connection's bytes are held at most this long.
    static constexpr std::size_t kMaxReplayBytes = 160 * 1024;

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
    std::string history_;  // the end of the audio let through
    bool holding_ = false;
    bool shortChecked_ = false;
    std::string pending_;
    std::vector<std::pair<std::size_t, std::string>> pendingMeta_;  // at offsets into pending_
};

}  // namespace wt
