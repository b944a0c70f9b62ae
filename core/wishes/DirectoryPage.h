#pragma once
// Parsing the station directory's search result page.
#include <functional>
#include <string>
#include <string_view>

#include "wishes/NetWishLists.h"

namespace wt {

// Turns a playlist address into the station's stream address ("" when it cannot).
using PlaylistResolver = std::function<std::string(const std::string& playlistUrl)>;

// A page never yields more hits than this: each hit costs a playlist download, and a page
// that is nothing but entries must not keep a search busy for hours.
constexpr int kMaxHitsPerPage = 1000;

// One hit per station entry of the page (at most kMaxHitsPerPage), in page order. rootUrl is the directory site's
// root ("http://host/"); each entry's playlist link, which starts with "/", is appended to it
// and handed to resolve. The page is consumed from the front, each marker being the first
// one left; a field whose markers are missing stays empty. Texts that are not UTF-8 are read
// as Windows-1252.
TNetWishLists ParseDirectoryPage(std::string_view page, std::string_view rootUrl,
                                 const PlaylistResolver& resolve);

}  // namespace wt
