#include "engine/ReplayFilter.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace wt {

namespace {
// An overlap shorter than this is taken for chance and kept.
constexpr std::size_t kShortestOverlap = 32;
}  // namespace

void ReplayFilter::Audio(const char* data, std::size_t size) {
    if (!holding_) {
        Remember(data, size);
        sink_.audio(data, size);
        return;
    }
    pending_.append(data, size);
    Decide(false);
}

void ReplayFilter::Meta(const std::string& text) {
    if (holding_) pendingMeta_.emplace_back(pending_.size(), text);
    else sink_.meta(text);
}

void ReplayFilter::Reconnected() {
    Finish();
    holding_ = true;
}

void ReplayFilter::Finish() {
    if (holding_) Decide(true);
}

void ReplayFilter::Remember(const char* data, std::size_t size) {
    history_.append(data, size);
    // Trim in steps so that appending stays cheap.
    if (history_.size() > kHistoryBytes + kHistoryBytes / 4) history_.erase(0, history_.size() - kHistoryBytes);
}

void ReplayFilter::Decide(bool final) {
    const std::string_view history(history_);
    const std::string_view pending(pending_);
    if (history.empty()) return Release(0, false);
    const std::size_t probe = std::min(kProbeBytes, history.size());
    if (pending.size() < probe && !final) return;

    // The replay starts somewhere in the history and runs to its end: find where the new
    // bytes' start occurs in it and check that they run on to the end.
    const std::string_view start = pending.substr(0, std::min(probe, pending.size()));
    for (std::size_t at = history.find(start); at != std::string_view::npos; at = history.find(start, at + 1)) {
        const std::size_t overlap = history.size() - at;
        const std::size_t compared = std::min(overlap, pending.size());
        if (std::memcmp(pending.data(), history.data() + at, compared) != 0) continue;
        if (compared == overlap) return Release(overlap, true);
        if (!final) return;  // consistent so far: wait for the rest of the replay
        return Release(compared, true);
    }
    // A short replay, or none: the longest end of the history that the new bytes begin with.
    for (std::size_t k = std::min(probe, pending.size()); k >= kShortestOverlap; --k) {
        if (std::memcmp(pending.data(), history.data() + history.size() - k, k) == 0) return Release(k, true);
    }
    if (pending.size() >= probe || final) Release(0, false);
}

void ReplayFilter::Release(std::size_t drop, bool seamless) {
    holding_ = false;
    std::string pending = std::move(pending_);
    auto metas = std::move(pendingMeta_);
    pending_.clear();
    pendingMeta_.clear();
    sink_.resumed(seamless, std::string_view(pending).substr(drop));
    // Metadata that arrived inside the replayed stretch takes effect where the new audio starts.
    std::size_t at = drop;
    for (const auto& [offset, text] : metas) {
        const std::size_t until = std::max(offset, drop);
        if (until > at) {
            Remember(pending.data() + at, until - at);
            sink_.audio(pending.data() + at, until - at);
            at = until;
        }
        sink_.meta(text);
    }
    if (pending.size() > at) {
        Remember(pending.data() + at, pending.size() - at);
        sink_.audio(pending.data() + at, pending.size() - at);
    }
}

}  // namespace wt
