#pragma once
// Reading the Icecast directory's listing of every stream ("yp.xml"): a <directory> of <entry>
// elements, each with leaf fields such as server_name, listen_url, server_type, bitrate, genre
// and current_song. A small reader of our own rather than a general XML parser: the listing is
// flat, it comes from the network and is large (tens of thousands of entries), and core stays
// free of Qt.
#include <string>
#include <string_view>
#include <vector>

namespace wt {

struct ListingEntry {
    std::string serverName;
    std::string listenUrl;
    std::string serverType;
    std::string genre;
    std::string currentSong;
    std::string bitrate;
};

// Every <entry> of the listing, in order. Fields are trimmed, their character and entity
// references (&amp; &lt; &gt; &quot; &apos; &#N; &#xH;) resolved, CDATA taken as it is, and
// text that is not UTF-8 read as Windows-1252; a missing field is empty. Unknown elements,
// attributes, comments and processing instructions are skipped; a listing cut short keeps
// the entries that were complete.
std::vector<ListingEntry> ParseDirectoryListing(std::string_view xml);

}  // namespace wt
