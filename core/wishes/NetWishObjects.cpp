#include "wishes/NetWishObjects.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <exception>

#include "platform/StringList.h"
#include "wishes/DirectoryPageSource.h"

namespace wt {

namespace {

// From this many counted passes on, songs seen in the first pass are reported as well.
constexpr int kSeenSongsPassLimit = 500;

// One step below normal priority: a wish search must not slow the rips or the window.
void LowerThisThreadsPriority() {
    const auto tid = static_cast<id_t>(::syscall(SYS_gettid));
    errno = 0;
    const int nice = ::getpriority(PRIO_PROCESS, tid);
    if (errno == 0) ::setpriority(PRIO_PROCESS, tid, nice + 1);
}

}  // namespace

bool WishMatches(std::string_view nowPlaying, std::string_view wish) {
    return !wish.empty() && ContainsIgnoreCase(nowPlaying, wish);
}

TNetWishObject::TNetWishObject(std::string wish, WishSearchContext context)
    : Wish(std::move(wish)), context_(std::move(context)) {}

TNetWishObject::~TNetWishObject() {
    abandon_ = true;
    Terminate();
    if (thread_.joinable()) thread_.join();
}

void TNetWishObject::Resume() {
    if (!thread_.joinable()) thread_ = std::thread([this] { Execute(); });
}

void TNetWishObject::Terminate() {
    {
        std::lock_guard lock(mutex_);
        terminated_ = true;
    }
    wake_.notify_all();
}

std::vector<std::string> TNetWishObject::SeenSongs() const {
    std::lock_guard lock(mutex_);
    return seenSongs_;
}

void TNetWishObject::Execute() {
    LowerThisThreadsPriority();
    try {
        while (!terminated_) {
            RunPass();
            if (!PauseUnlessTerminated()) break;
        }
    } catch (const std::exception& e) {
        ShowError(e.what());
    } catch (...) {
        ShowError("Unknown error in the wish search for \"" + Wish + "\"");
    }
    finished_ = true;
}

void TNetWishObject::RunPass() {
    const AbortCheck abort = [this] { return abandon_.load(); };
    DirectoryPageSource page(*context_.client, context_.rootUrl);
    const std::vector<TWishInfo> hits = page.Look(0, {Wish}, abort);
    if (hits.empty() || abandon_) return;

    for (const TWishInfo& hit : hits) {
        if (!WishMatches(hit.NowPlaying, Wish)) continue;
        if (passes_ <= 0) {
            std::lock_guard lock(mutex_);
            seenSongs_.push_back(hit.NowPlaying);
            continue;
        }
        bool seen;
        {
            std::lock_guard lock(mutex_);
            seen = std::any_of(seenSongs_.begin(), seenSongs_.end(),
                               [&](const std::string& song) { return EqualsIgnoreCase(song, hit.NowPlaying); });
        }
        if (!seen || passes_ > kSeenSongsPassLimit) Report(hit);
    }
    ++passes_;
}

void TNetWishObject::ShowError(const std::string& message) {
    if (context_.showError && context_.dispatcher)
        context_.dispatcher->Synchronize([&] { context_.showError(message); });
}

void TNetWishObject::Report(const TWishInfo& hit) {
    if (!OnWishFound || !context_.dispatcher) return;
    context_.dispatcher->Synchronize([&] { OnWishFound(this, hit); });
}

bool TNetWishObject::PauseUnlessTerminated() {
    std::unique_lock lock(mutex_);
    return !wake_.wait_for(lock, std::chrono::milliseconds(context_.pauseMs), [&] { return terminated_.load(); });
}

}  // namespace wt
