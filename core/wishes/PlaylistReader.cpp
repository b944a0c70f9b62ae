#include "wishes/PlaylistReader.h"

#include "net/HttpClient.h"
#include "platform/StringList.h"

namespace wt {

namespace {

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

std::string_view Unquote(std::string_view s) {
    if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front())
        return s.substr(1, s.size() - 2);
    return s;
}

}  // namespace

std::string ReadProfileString(std::string_view text, std::string_view section, std::string_view key) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    bool inSection = false;
    bool sectionSeen = false;
    for (const std::string& rawLine : SplitLines(text)) {
        const std::string_view line = TrimBlanks(rawLine);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            const size_t close = line.find(']');
            if (close == std::string_view::npos) continue;
            if (inSection) return {};  // only the first section of that name counts
            inSection = !sectionSeen && EqualsIgnoreCase(TrimBlanks(line.substr(1, close - 1)), section);
            sectionSeen = sectionSeen || inSection;
            continue;
        }
        if (!inSection) continue;
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        if (EqualsIgnoreCase(TrimBlanks(line.substr(0, eq)), key))
            return std::string(Unquote(TrimBlanks(line.substr(eq + 1))));
    }
    return {};
}

std::string PlaylistStreamUrl(std::string_view playlistText) {
    std::string url = ReadProfileString(playlistText, "playlist", "File1");
    return net::IsHttpUrl(url) ? url : std::string();
}

}  // namespace wt
