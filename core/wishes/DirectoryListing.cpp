#include "wishes/DirectoryListing.h"

#include "platform/TextEncoding.h"
#include "platform/XmlText.h"

namespace wt {

namespace {

std::string_view Trim(std::string_view text) {
    const char* space = " \t\r\n";
    const auto first = text.find_first_not_of(space);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(space) - first + 1);
}

bool StartsWith(std::string_view text, std::size_t at, std::string_view prefix) {
    return text.compare(at, prefix.size(), prefix) == 0;
}

std::string* Field(ListingEntry& entry, std::string_view name) {
    if (name == "server_name") return &entry.serverName;
    if (name == "listen_url") return &entry.listenUrl;
    if (name == "server_type") return &entry.serverType;
    if (name == "genre") return &entry.genre;
    if (name == "current_song") return &entry.currentSong;
    if (name == "bitrate") return &entry.bitrate;
    return nullptr;
}

std::string Finish(const std::string& raw) { return DecodeText(Trim(raw)); }

}  // namespace

std::vector<ListingEntry> ParseDirectoryListing(std::string_view xml) {
    std::vector<ListingEntry> entries;
    ListingEntry entry;
    bool inEntry = false;
    int depth = 0;                   // elements open inside the entry
    std::string* field = nullptr;    // the entry's field being read, when known
    bool inField = false;            // inside a child of the entry (known or not)
    std::string raw;                 // the field's text so far, references resolved
    std::size_t pos = 0;
    while (pos < xml.size()) {
        const std::size_t lt = xml.find('<', pos);
        if (inField && field) raw += DecodeXmlText(xml.substr(pos, (lt == std::string_view::npos ? xml.size() : lt) - pos));
        if (lt == std::string_view::npos) break;
        if (StartsWith(xml, lt, "<!--")) {
            const std::size_t end = xml.find("-->", lt + 4);
            if (end == std::string_view::npos) break;
            pos = end + 3;
            continue;
        }
        if (StartsWith(xml, lt, "<![CDATA[")) {
            const std::size_t end = xml.find("]]>", lt + 9);
            if (end == std::string_view::npos) break;
            if (inField && field) raw.append(xml.substr(lt + 9, end - lt - 9));
            pos = end + 3;
            continue;
        }
        const std::size_t gt = xml.find('>', lt + 1);
        if (gt == std::string_view::npos) break;
        pos = gt + 1;
        std::string_view tag = xml.substr(lt + 1, gt - lt - 1);
        if (tag.empty() || tag[0] == '?' || tag[0] == '!') continue;
        const bool closing = tag[0] == '/';
        const bool empty = !closing && tag.back() == '/';
        if (closing) tag.remove_prefix(1);
        const std::string_view name = tag.substr(0, tag.find_first_of(" \t\r\n/"));
        if (!inEntry) {
            if (!closing && !empty && name == "entry") {
                inEntry = true;
                entry = ListingEntry{};
                depth = 0;
            }
            continue;
        }
        if (closing) {
            if (depth == 0) {
                // The entry's own end (or a stray end tag, taken as the entry's end).
                entries.push_back(std::move(entry));
                inEntry = false;
            } else if (--depth == 0) {
                if (field) *field = Finish(raw);
                field = nullptr;
                inField = false;
            }
            continue;
        }
        if (empty) continue;  // <current_song/>: the field stays empty
        if (depth++ == 0) {
            field = Field(entry, name);
            inField = true;
            raw.clear();
        }
    }
    return entries;
}

}  // namespace wt
