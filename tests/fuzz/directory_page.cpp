// Directory result pages and station playlists come from the network: any bytes must parse
// without a crash or an endless loop.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "wishes/DirectoryPage.h"
#include "wishes/PlaylistReader.h"
#include "wishes/WishAPI.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string page = wt::PageText(bytes);
    // Each playlist link is fed to the playlist reader, so one input exercises both parsers.
    const wt::TNetWishLists hits = wt::ParseDirectoryPage(page, "http://dir.test/", [](const std::string& url) {
        return wt::PlaylistStreamUrl(url);
    });
    // Every field is a piece of the page, at most tripled by turning single-byte text into UTF-8.
    for (const wt::TWishInfo& hit : hits)
        if (hit.Station.size() > 3 * page.size() || hit.NowPlaying.size() > 3 * page.size() ||
            hit.Genre.size() > 3 * page.size())
            __builtin_trap();
    (void)wt::PlaylistStreamUrl(bytes);
    (void)wt::ReadProfileString(bytes, "playlist", "File1");
    return 0;
}
