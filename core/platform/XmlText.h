#pragma once
// Text of XML elements read by our small scanners (station lists, the directory listing).
#include <string>
#include <string_view>

namespace wt {

// Text with XML's references resolved: &amp; &lt; &gt; &quot; &apos; and &#N; / &#xH;. A
// numeric reference to no valid character (&#0;, a surrogate, past U+10FFFF) is dropped; an
// unknown or malformed reference stays as written.
std::string DecodeXmlText(std::string_view text);

}  // namespace wt
