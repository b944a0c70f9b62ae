#include "wishes/WishSearches.h"

#include <algorithm>

namespace wt {

WishSearches::WishSearches(WishSearchContext context) : context_(std::move(context)) {}

WishSearches::~WishSearches() {
    // Destroying a search abandons its downloads and joins its thread.
    wishObjects_.clear();
    retired_.clear();
}

void WishSearches::AddWish(const std::string& wish) {
    ReapRetired();
    auto search = std::make_unique<TNetWishObject>(wish, context_);
    search->OnWishFound = [this](TNetWishObject* sender, const TWishInfo& info) {
        if (OnWishFound) OnWishFound(sender, info);
    };
    search->Resume();
    wishObjects_.push_back(std::move(search));
}

bool WishSearches::RemoveWish(const std::string& wish) {
    ReapRetired();
    for (auto it = wishObjects_.begin(); it != wishObjects_.end();) {
        if ((*it)->Finished()) {
            Retire(std::move(*it));
            it = wishObjects_.erase(it);
        } else {
            ++it;
        }
    }
    const auto found = std::find_if(wishObjects_.begin(), wishObjects_.end(),
                                    [&](const auto& search) { return search->Wish == wish; });
    if (found == wishObjects_.end()) return false;
    (*found)->Terminate();
    Retire(std::move(*found));
    wishObjects_.erase(found);
    return true;
}

void WishSearches::StopAllWishes() {
    ReapRetired();
    for (auto& search : wishObjects_) {
        search->Terminate();
        Retire(std::move(search));
    }
    wishObjects_.clear();
}

void WishSearches::Retire(std::unique_ptr<TNetWishObject> search) {
    retired_.push_back(std::move(search));
}

void WishSearches::ReapRetired() {
    std::erase_if(retired_, [](const auto& search) { return search->Finished(); });
}

}  // namespace wt
