#include "wishes/ListingSource.h"

#include "platform/StringList.h"
#include "wishes/DirectoryListing.h"
#include "wishes/LiveFetch.h"

namespace wt {

bool CanRipServerType(std::string_view serverType) {
    const std::string type = AsciiLower(serverType.substr(0, serverType.find(';')));
    const std::string_view trimmed = std::string_view(type).substr(0, type.find_last_not_of(' ') + 1);
    // The kinds the rips cut into songs; anything else would only end in a refusal.
    for (const char* known : {"audio/mpeg", "audio/mp3", "audio/x-mpeg", "audio/mpeg3", "audio/aac", "audio/aacp",
                              "audio/x-aac", "audio/x-aacp", "application/ogg", "audio/ogg", "audio/opus",
                              "audio/vorbis"})
        if (trimmed == known) return true;
    return false;
}

std::vector<TWishInfo> RippableListingHits(std::string_view xml) {
    std::vector<TWishInfo> hits;
    for (ListingEntry& entry : ParseDirectoryListing(xml)) {
        if (!CanRipServerType(entry.serverType) || !net::IsHttpUrl(entry.listenUrl)) continue;
        hits.push_back({std::move(entry.listenUrl), std::move(entry.currentSong), std::move(entry.genre),
                        std::move(entry.serverName)});
    }
    return hits;
}

DirectoryListingSource::DirectoryListingSource(const net::HttpClient& client, ListingOptions options)
    : client_(client), options_(std::move(options)) {}

bool DirectoryListingSource::Due(std::uint32_t nowMs) const {
    return !options_.url.empty() && (!asked_ || nowMs - lastAskedMs_ >= options_.intervalMs);
}

std::vector<TWishInfo> DirectoryListingSource::Look(std::uint32_t nowMs, const std::vector<std::string>&,
                                                    const AbortCheck& abort) {
    // A failed download counts as a fetch too: a listing that cannot be had now is not asked
    // for again before its interval.
    asked_ = true;
    lastAskedMs_ = nowMs;
    std::vector<std::string> headers;
    if (!lastModified_.empty()) headers.push_back("If-Modified-Since: " + lastModified_);
    LiveFetchResult answer = FetchLive(client_, options_.url, headers, options_.maxBytes, options_.timeoutMs, abort);
    if (answer.status == 304) return {};  // unchanged since our copy: nothing new plays
    if (!answer.ok) {
        summary_ = Name() + ": " + (answer.status == 0 ? std::string("no answer") : "HTTP " + std::to_string(answer.status));
        return {};
    }
    lastModified_ = answer.lastModified;
    std::vector<TWishInfo> hits = RippableListingHits(answer.body);
    summary_ = Name() + ": " + std::to_string(hits.size()) + (hits.size() == 1 ? " stream" : " streams");
    return hits;
}

}  // namespace wt
