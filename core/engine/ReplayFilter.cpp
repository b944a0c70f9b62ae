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
    shortChecked_ = false;
}

void ReplayFilter::Finish() {
    if (holding_) Decide(true);
}

void ReplayFilter::Remember(const char* data, std::size_t size) {
    history_.append(data, size);
    // Trim in steps so that appending stays cheap.
    if (history_.size() > 2 * kAnchorBytes) history_.erase(0, history_.size() - kAnchorBytes);
}

void ReplayFilter::Decide(bool final) {
    const std::string_view history = std::string_view(history_).substr(
        history_.size() > kAnchorBytes ? history_.size() - kAnchorBytes : 0);
    const std::string_view pending(pending_);
    if (history.empty()) return Release(0, false);
    // A replay runs up to the end of what we have: where that end shows, the new audio begins.
    const std::size_t at = pending.find(history);
    if (at != std::string_view::npos) return Release(at + history.size(), true);
    if (pending.size() < history.size() && !final) return;
    // A replay shorter than the remembered end: the longest end that the new bytes begin with
    // (looked for once, when enough has come).
    if (!shortChecked_) {
        shortChecked_ = true;
        for (std::size_t k = std::min(history.size(), pending.size()); k >= kShortestOverlap; --k) {
            if (std::memcmp(pending.data(), history.data() + history.size() - k, k) == 0) return Release(k, true);
        }
    }
    if (final || pending.size() >= kMaxReplayBytes) Release(0, false);
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
