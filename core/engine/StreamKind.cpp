#include "engine/StreamKind.h"

#include "platform/StringList.h"

namespace wt {

namespace {

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

std::string_view MediaType(std::string_view contentType) {
    std::string_view type = contentType.substr(0, contentType.find(';'));
    while (!type.empty() && (type.front() == ' ' || type.front() == '\t')) type.remove_prefix(1);
    while (!type.empty() && (type.back() == ' ' || type.back() == '\t' || type.back() == '\r')) type.remove_suffix(1);
    return type;
}

std::string_view SkipBlanks(std::string_view bytes) {
    // A UTF-8 byte order mark and white space may come before a page's or playlist's text.
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    while (!bytes.empty() && (bytes.front() == ' ' || bytes.front() == '\t' || bytes.front() == '\r' ||
                              bytes.front() == '\n'))
        bytes.remove_prefix(1);
    return bytes;
}

}  // namespace

std::string RefusalOfStream(std::string_view contentType, std::string_view firstBytes) {
    const std::string_view type = MediaType(contentType);
    const std::string_view text = SkipBlanks(firstBytes);
    if (StartsWithIgnoreCase(text, "#EXTM3U") || EqualsIgnoreCase(type, "application/vnd.apple.mpegurl") ||
        EqualsIgnoreCase(type, "application/x-mpegurl") || EqualsIgnoreCase(type, "audio/mpegurl") ||
        EqualsIgnoreCase(type, "audio/x-mpegurl"))
        return kRefusedPlaylist;
    if (StartsWithIgnoreCase(type, "text/html") || StartsWithIgnoreCase(type, "application/xhtml") ||
        StartsWithIgnoreCase(text, "<!doctype html") || StartsWithIgnoreCase(text, "<html"))
        return kRefusedWebPage;
    if (StartsWithIgnoreCase(type, "video/")) return kRefusedVideo;
    return {};
}

bool IsOggStream(std::string_view contentType, std::string_view firstBytes) {
    const std::string_view type = MediaType(contentType);
    return firstBytes.substr(0, 4) == "OggS" || EqualsIgnoreCase(type, "application/ogg") ||
           EqualsIgnoreCase(type, "audio/ogg") || EqualsIgnoreCase(type, "audio/opus") ||
           EqualsIgnoreCase(type, "audio/vorbis");
}

}  // namespace wt
