#pragma once
#include <string>
#include <string_view>

namespace wt::net {

// Percent-encodes every byte except the unreserved characters A-Z a-z 0-9 - . _ ~, so the
// text can stand as one value in a URL query ("a b&c" becomes "a%20b%26c").
std::string PercentEncode(std::string_view text);

}  // namespace wt::net
