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
    if (!thread_.joinable() && !slots_.empty()) thread_ = std::thread([this] { Run(); });
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
            for (Slot& slot : slots_) {
                if (stop_) break;
                const std::uint32_t now = clock_.TickCount();
                if (!slot.source->Due(now)) continue;
                const std::vector<TWishInfo> seen = slot.source->Look(now, wishes, abort);
                if (stop_) break;
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
