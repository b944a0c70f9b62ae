// The directory listing (XML) comes from the network: any bytes must parse without a crash or
// an endless loop, and every field is a piece of the input.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "wishes/DirectoryListing.h"
#include "wishes/ListingSource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view xml(reinterpret_cast<const char*>(data), size);
    // A reference turns at most 3 bytes ("&#1;") into 4, and single-byte text at most triples.
    const std::size_t limit = 4 * size;
    for (const wt::ListingEntry& entry : wt::ParseDirectoryListing(xml))
        for (const std::string* field : {&entry.serverName, &entry.listenUrl, &entry.serverType, &entry.genre,
                                         &entry.currentSong, &entry.bitrate})
            if (field->size() > limit) __builtin_trap();
    (void)wt::RippableListingHits(xml);
    return 0;
}
