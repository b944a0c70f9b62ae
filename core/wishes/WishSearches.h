#pragma once
// The ripping manager's wish searches: starting, stopping and listing them, and relaying
// their hits. Used on the GUI thread only.

#include <memory>
#include <string>
#include <vector>

#include "wishes/NetWishObjects.h"

namespace wt {

class WishSearches {
public:
    explicit WishSearches(WishSearchContext context);
    // Stops every search, also those still finishing a pass, and waits for their threads.
    // The owner closes the dispatcher first, so no search waits for a hand-off meanwhile.
    ~WishSearches();
    WishSearches(const WishSearches&) = delete;
    WishSearches& operator=(const WishSearches&) = delete;

    // Every search's hit is raised here, on the GUI thread, when assigned.
    WishFoundEvent OnWishFound;

    void AddWish(const std::string& wish);
    // Drops searches that have ended by themselves, then stops and removes the first search
    // whose wish equals wish exactly; false when there is none.
    bool RemoveWish(const std::string& wish);
    void StopAllWishes();

    // The running searches in start order.
    const std::vector<std::unique_ptr<TNetWishObject>>& WishObjects() const { return wishObjects_; }

private:
    void Retire(std::unique_ptr<TNetWishObject> search);
    void ReapRetired();

    WishSearchContext context_;
    std::vector<std::unique_ptr<TNetWishObject>> wishObjects_;
    // Stopped searches that may still be finishing their pass; freed once finished.
    std::vector<std::unique_ptr<TNetWishObject>> retired_;
};

}  // namespace wt
