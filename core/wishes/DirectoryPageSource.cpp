#include "wishes/DirectoryPageSource.h"

namespace wt {

DirectoryPageSource::DirectoryPageSource(const net::HttpClient& client, std::string rootUrl)
    : client_(client), rootUrl_(std::move(rootUrl)) {}

std::vector<TWishInfo> DirectoryPageSource::Look(std::uint32_t, const std::vector<std::string>& wishes,
                                                 const AbortCheck& abort) {
    std::vector<TWishInfo> out;
    for (const std::string& wish : wishes) {
        if (abort && abort()) break;
        std::string bytes;
        DownloadURL(client_, bytes, DirectorySearchUrl(rootUrl_, wish), {}, kMaxDirectoryPageBytes, abort);
        const TNetWishLists hits = ParseDirectoryPage(client_, PageText(bytes), rootUrl_, abort);
        out.insert(out.end(), hits.begin(), hits.end());
    }
    return out;
}

}  // namespace wt
