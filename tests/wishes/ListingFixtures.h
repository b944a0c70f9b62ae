#pragma once
// Directory listings ("yp.xml") written for tests, in the listing's documented layout.
#include <string>

namespace wt::test {

// One <entry> with the usual leaf fields; a field given as nullptr is left out.
std::string ListingEntryXml(const char* name, const char* url, const char* type, const char* genre,
                            const char* song, const char* bitrate = "128");
// A whole listing around the given entries.
std::string ListingXml(const std::string& entries);
// count entries "Station N" at http://127.0.0.1:9/N, audio/mpeg, playing "Artist N - Song N".
std::string LargeListingXml(int count);

}  // namespace wt::test
