#pragma once
// The Icecast directory's listing as a now-playing source: one download serves every wish.
// Its operators ask clients to fetch it rarely, so it is asked at most once per interval
// (the watcher asks no source while the wish list is empty), conditionally on the copy we
// already have (If-Modified-Since).
#include <cstdint>
#include <string>

#include "net/HttpClient.h"
#include "wishes/WishSource.h"

namespace wt {

struct ListingOptions {
    std::string url;
    std::uint32_t intervalMs = 15 * 60 * 1000;
    long timeoutMs = 120000;                      // the listing is large
    std::size_t maxBytes = 64 * 1024 * 1024;
};

// The hits of a listing: every entry whose server type we can rip and whose listen URL is an
// http or https address, as URL, current song, genre and server name.
std::vector<TWishInfo> RippableListingHits(std::string_view xml);

class DirectoryListingSource : public WishSource {
public:
    // client must outlive the source.
    DirectoryListingSource(const net::HttpClient& client, ListingOptions options);
    bool Due(std::uint32_t nowMs) const override;
    std::vector<TWishInfo> Look(std::uint32_t nowMs, const std::vector<std::string>& wishes,
                                const AbortCheck& abort) override;
    std::string Name() const override { return "directory listing"; }
    std::string Summary() const override { return summary_; }

private:
    const net::HttpClient& client_;
    ListingOptions options_;
    bool asked_ = false;
    std::uint32_t lastAskedMs_ = 0;
    std::string lastModified_;  // of the copy we last read
    std::string summary_;
};

}  // namespace wt
