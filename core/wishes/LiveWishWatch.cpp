#include "wishes/LiveWishWatch.h"

#include <chrono>

namespace wt {

LiveWishWatch::LiveWishWatch(Dispatcher& dispatcher, const Clock& clock, int tickMs)
    : dispatcher_(dispatcher), clock_(clock), tickMs_(tickMs) {}

LiveWishWatch::~LiveWishWatch() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void LiveWishWatch::AddSource(std::unique_ptr<WishSource> source) {
    if (!thread_.joinable()) slots_.push_back(Slot{std::move(source), {}});
}

void LiveWishWatch::Start() {
    if (thread_.joinable() || slots_.empty()) return;
    summaries_.assign(slots_.size(), {});
    thread_ = std::thread([this] { Run(); });
}

std::vector<std::string> LiveWishWatch::Summaries() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> out;
    for (const std::string& summary : summaries_)
        if (!summary.empty()) out.push_back(summary);
    return out;
}

void LiveWishWatch::SetWishes(std::vector<std::string> wishes) {
    {
        std::lock_guard lock(mutex_);
        wishes_ = std::move(wishes);
        wishesChanged_ = true;
    }
    wake_.notify_all();
}

void LiveWishWatch::Run() {
    const AbortCheck abort = [this] { return stop_.load(); };
    while (!stop_) {
        std::vector<std::string> wishes;
        {
            std::lock_guard lock(mutex_);
            wishes = wishes_;
            wishesChanged_ = false;
        }
        if (!wishes.empty()) {
            for (std::size_t i = 0; i < slots_.size(); ++i) {
                Slot& slot = slots_[i];
                if (stop_) break;
                const std::uint32_t now = clock_.TickCount();
                if (!slot.source->Due(now)) continue;
                const std::vector<TWishInfo> seen = slot.source->Look(now, wishes, abort);
                if (stop_) break;
                {
                    std::lock_guard lock(mutex_);
                    summaries_[i] = slot.source->Summary();
                }
                for (const WishHit& hit : slot.sieve.Sift(seen, wishes)) {
                    if (!OnWishFound) continue;
                    const std::string where = slot.source->Name();
                    dispatcher_.Synchronize([&] { OnWishFound(hit.info, hit.wish, where); });
                }
            }
        }
        ++rounds_;
        std::unique_lock lock(mutex_);
        wake_.wait_for(lock, std::chrono::milliseconds(tickMs_), [&] { return stop_.load() || wishesChanged_; });
    }
}

}  // namespace wt
