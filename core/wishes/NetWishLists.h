#pragma once
#include <cstddef>
#include <utility>
#include <vector>

#include "wishes/WishInfo.h"

namespace wt {

// The hits parsed from one directory page, in page order.
class TNetWishLists {
public:
    // Appends a hit and returns its index.
    int Add(TWishInfo info) {
        items_.push_back(std::move(info));
        return static_cast<int>(items_.size()) - 1;
    }
    int Count() const { return static_cast<int>(items_.size()); }
    const TWishInfo& Items(int index) const { return items_.at(static_cast<std::size_t>(index)); }

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::vector<TWishInfo> items_;
};

}  // namespace wt
