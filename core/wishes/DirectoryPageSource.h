#pragma once
// The station directory's search page as a now-playing source: one page per wish, each
// listed station's playlist resolved to its stream address. A wish search asks it in every
// pass; it has no pace of its own.
#include <string>

#include "net/HttpClient.h"
#include "wishes/WishSource.h"

namespace wt {

class DirectoryPageSource : public WishSource {
public:
    // rootUrl: the directory site's root, "http://host/". client must outlive the source.
    DirectoryPageSource(const net::HttpClient& client, std::string rootUrl);
    bool Due(std::uint32_t) const override { return true; }
    // The stations of every wish's result page, page after page, in page order.
    std::vector<TWishInfo> Look(std::uint32_t nowMs, const std::vector<std::string>& wishes,
                                const AbortCheck& abort) override;
    std::string Name() const override { return "station directory"; }

private:
    const net::HttpClient& client_;
    std::string rootUrl_;
};

}  // namespace wt
