#include "platform/FileNames.h"

#include "platform/TextEncoding.h"

namespace wt {

std::string SanitizeFileName(std::string_view name, std::string_view suffix) {
    std::string text = DecodeText(name);
    for (char& c : text) {
        switch (c) {
            case '\\': case '/': case ':': case '*': case '?':
            case '"': case '<': case '>': case '|':
                c = '_';
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '_';
        }
    }
    std::size_t room = suffix.size() < kMaxFileNameBytes ? kMaxFileNameBytes - suffix.size() : 0;
    text = TruncateUtf8(text, room);
    if (text.empty() && suffix.empty()) text = "_";
    if (text == "." || text == "..") text.assign(text.size(), '_');
    return text + std::string(suffix);
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    return WithTrailingSlash(folder) + std::string(name);
}

std::string WithTrailingSlash(std::string_view folder) {
    std::string out(folder);
    if (!out.empty() && out.back() != '/') out += '/';
    return out;
}

}  // namespace wt
