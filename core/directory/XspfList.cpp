// XSPF playlists: <track> elements with a <location> and a <title>. A small scanner rather than
// an XML library: only these elements matter, and anything malformed ends the list where it is.
#include "directory/StationListFile.h"

#include <string>

#include "platform/XmlText.h"

namespace wt {

namespace {

// Element text with CDATA kept as is and the predefined and numeric entities replaced; an
// unknown entity stays as written.
std::string ElementText(std::string_view raw) {
    std::string out;
    std::size_t i = 0;
    while (i < raw.size()) {
        const auto cdata = raw.find("<![CDATA[", i);
        out += DecodeXmlText(raw.substr(i, (cdata == std::string_view::npos ? raw.size() : cdata) - i));
        if (cdata == std::string_view::npos) break;
        const auto end = raw.find("]]>", cdata + 9);
        const auto stop = end == std::string_view::npos ? raw.size() : end;
        out.append(raw.substr(cdata + 9, stop - (cdata + 9)));
        i = end == std::string_view::npos ? raw.size() : end + 3;
    }
    const auto b = out.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return {};
    return out.substr(b, out.find_last_not_of(" \t\r\n") - b + 1);
}

// The position after the opening tag <name ...> found from pos, or npos. "<trackList" does not
// open a "<track".
std::size_t OpenTag(std::string_view text, std::string_view name, std::size_t pos, std::size_t limit) {
    while (true) {
        pos = text.find(name, pos);
        if (pos == std::string_view::npos || pos >= limit) return std::string_view::npos;
        const std::size_t after = pos + name.size();
        if (after < text.size() && (text[after] == '>' || text[after] == ' ' || text[after] == '\t' ||
                                    text[after] == '\r' || text[after] == '\n')) {
            const auto close = text.find('>', after);
            if (close == std::string_view::npos || close >= limit) return std::string_view::npos;
            if (text[close - 1] == '/') {  // <title/>: an empty element
                pos = close;
                continue;
            }
            return close + 1;
        }
        pos = after;
    }
}

std::string Child(std::string_view track, std::string_view name) {
    const std::string open = "<" + std::string(name);
    const std::size_t start = OpenTag(track, open, 0, track.size());
    if (start == std::string_view::npos) return {};
    const auto end = track.find("</" + std::string(name), start);
    if (end == std::string_view::npos) return {};
    return ElementText(track.substr(start, end - start));
}

}  // namespace

std::vector<DirectoryStation> ParseXspf(std::string_view bytes) {
    const std::string decoded = StationListText(bytes);
    const std::string_view text = decoded;
    std::vector<DirectoryStation> stations;
    std::size_t pos = 0;
    while (true) {
        const std::size_t start = OpenTag(text, "<track", pos, text.size());
        if (start == std::string_view::npos) break;
        const auto end = text.find("</track>", start);
        if (end == std::string_view::npos) break;
        const std::string_view track = text.substr(start, end - start);
        DirectoryStation s;
        s.url = Child(track, "location");
        s.name = Child(track, "title");
        if (s.name.empty()) s.name = Child(track, "creator");
        if (s.name.empty()) s.name = s.url;
        if (!s.url.empty()) stations.push_back(std::move(s));
        pos = end + 8;
    }
    return stations;
}

}  // namespace wt
