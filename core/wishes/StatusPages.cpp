#include "wishes/StatusPages.h"

#include <nlohmann/json.hpp>

#include "platform/StringList.h"
#include "platform/TextEncoding.h"

namespace wt {

namespace {

using nlohmann::json;

// A field as text: strings as they are, numbers as written (a title may be "1999"), else "".
std::string Text(const json& object, const char* key) {
    const auto it = object.find(key);
    if (it == object.end()) return {};
    if (it->is_string()) return DecodeText(it->get_ref<const std::string&>());
    if (it->is_number()) return it->dump();
    return {};
}

std::optional<json> Parse(std::string_view text) {
    json value = json::parse(text.begin(), text.end(), nullptr, /*allow_exceptions=*/false);
    if (value.is_discarded() || !value.is_object()) return std::nullopt;
    return value;
}

StatusMount IcecastMount(const json& source) {
    StatusMount mount;
    mount.listenUrl = Text(source, "listenurl");
    const std::string artist = Text(source, "artist");
    mount.title = Text(source, "title");
    if (!artist.empty()) mount.title = mount.title.empty() ? artist : artist + " - " + mount.title;
    mount.serverName = Text(source, "server_name");
    mount.genre = Text(source, "genre");
    mount.serverType = Text(source, "server_type");
    return mount;
}

}  // namespace

std::optional<std::vector<StatusMount>> ParseIcecastStatus(std::string_view text) {
    const auto page = Parse(text);
    if (!page) return std::nullopt;
    const auto stats = page->find("icestats");
    if (stats == page->end() || !stats->is_object()) return std::nullopt;
    std::vector<StatusMount> mounts;
    const auto sources = stats->find("source");
    if (sources == stats->end()) return mounts;  // a server with no live mount
    auto add = [&](const json& source) {
        if (!source.is_object()) return;
        StatusMount mount = IcecastMount(source);
        if (!mount.listenUrl.empty()) mounts.push_back(std::move(mount));
    };
    if (sources->is_array()) {
        for (const json& source : *sources) add(source);
    } else {
        add(*sources);
    }
    return mounts;
}

bool LooksLikeIcecastStatus(std::string_view text) {
    return text.find("\"icestats\"") != std::string_view::npos;
}

std::optional<StatusMount> ParseShoutcastStats(std::string_view text) {
    const auto page = Parse(text);
    if (!page || !page->contains("songtitle")) return std::nullopt;
    StatusMount mount;
    mount.title = Text(*page, "songtitle");
    mount.serverName = Text(*page, "servertitle");
    mount.genre = Text(*page, "servergenre");
    mount.listenUrl = Text(*page, "streampath");
    mount.serverType = Text(*page, "content");
    return mount;
}

std::string ServerRoot(std::string_view url) {
    const std::size_t scheme = url.find("://");
    if (scheme == std::string_view::npos) return {};
    const std::string name = AsciiLower(url.substr(0, scheme));
    if (name != "http" && name != "https") return {};
    std::string_view rest = url.substr(scheme + 3);
    std::string_view authority = rest.substr(0, rest.find_first_of("/?#"));
    const std::size_t at = authority.rfind('@');
    if (at != std::string_view::npos) authority.remove_prefix(at + 1);
    if (authority.empty()) return {};
    return name + "://" + AsciiLower(authority) + "/";
}

std::string UrlPath(std::string_view url) {
    const std::size_t scheme = url.find("://");
    std::string_view rest = scheme == std::string_view::npos ? url : url.substr(scheme + 3);
    const std::size_t slash = rest.find_first_of("/?#");
    if (slash == std::string_view::npos || rest[slash] != '/') return "/";
    std::string_view path = rest.substr(slash);
    return std::string(path.substr(0, path.find_first_of("?#")));
}

}  // namespace wt
