#include "directory/StationJson.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "directory/StationListFile.h"

namespace wt {

namespace {

using nlohmann::json;

// A station is an object inside the top array; a field's value may be an array (tags in some
// exports). Anything deeper is dropped while parsing, so a hostile nesting costs no memory.
constexpr int kMaxDepth = 4;

// The deepest nesting of arrays and objects in the text, strings skipped. Answers that nest no
// deeper than this are parsed without the per-value depth callback, which saves about a third of the time.
constexpr int kPlainParseDepth = 16;

int NestingDepth(std::string_view text) {
    int depth = 0, deepest = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\') ++i;
            else if (c == '"') inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            deepest = std::max(deepest, ++depth);
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return deepest;
}

std::string Text(const json& station, const char* key) {
    auto it = station.find(key);
    if (it == station.end()) return {};
    if (it->is_string()) return it->get<std::string>();
    if (it->is_number_unsigned()) return std::to_string(it->get<std::uint64_t>());
    if (it->is_number_integer()) return std::to_string(it->get<std::int64_t>());
    if (it->is_array()) {  // ["rock", "pop"] as the comma list the directory otherwise sends
        std::string joined;
        for (const json& part : *it) {
            if (!part.is_string()) continue;
            if (!joined.empty()) joined += ',';
            joined += part.get<std::string>();
        }
        return joined;
    }
    return {};
}

std::int64_t Number(const json& station, const char* key) {
    auto it = station.find(key);
    if (it == station.end()) return 0;
    if (it->is_number_unsigned()) {
        const std::uint64_t v = it->get<std::uint64_t>();
        return v > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())
                   ? std::numeric_limits<std::int64_t>::max()
                   : static_cast<std::int64_t>(v);
    }
    if (it->is_number_integer()) return it->get<std::int64_t>();
    if (it->is_number_float()) {
        const double v = it->get<double>();
        if (!std::isfinite(v)) return 0;
        if (v >= 9.2e18) return std::numeric_limits<std::int64_t>::max();
        if (v <= -9.2e18) return std::numeric_limits<std::int64_t>::min();
        return static_cast<std::int64_t>(v);
    }
    if (it->is_boolean()) return it->get<bool>() ? 1 : 0;
    if (it->is_string()) {
        const std::string& s = it->get_ref<const std::string&>();
        std::int64_t v = 0;
        auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
        return ec == std::errc() ? v : 0;
    }
    return 0;
}

bool Flag(const json& station, const char* key, bool absent) {
    auto it = station.find(key);
    if (it == station.end() || it->is_null()) return absent;
    if (it->is_string()) {
        const std::string& s = it->get_ref<const std::string&>();
        return s == "1" || s == "true";
    }
    return Number(station, key) != 0;
}

DirectoryStation ReadStation(const json& o) {
    DirectoryStation s;
    s.stationuuid = Text(o, "stationuuid");
    s.name = Text(o, "name");
    s.url = Text(o, "url");
    s.urlResolved = Text(o, "url_resolved");
    s.tags = Text(o, "tags");
    s.country = Text(o, "country");
    s.countryCode = Text(o, "countrycode");
    s.language = Text(o, "language");
    s.codec = Text(o, "codec");
    s.bitrate = Number(o, "bitrate");
    s.hls = Flag(o, "hls", false);
    s.votes = Number(o, "votes");
    s.lastCheckOk = Flag(o, "lastcheckok", true);
    return s;
}

}  // namespace

std::string DirectoryStation::FirstTag() const {
    const std::string first = tags.substr(0, tags.find(','));
    const auto begin = first.find_first_not_of(" \t");
    if (begin == std::string::npos) return {};
    return first.substr(begin, first.find_last_not_of(" \t") - begin + 1);
}

std::vector<DirectoryStation> ParseStationJson(std::string_view bytes) {
    const std::string text = StationListText(bytes);
    const json::parser_callback_t limitDepth = [](int depth, json::parse_event_t, json&) {
        return depth <= kMaxDepth;
    };
    json document = NestingDepth(text) <= kPlainParseDepth
                        ? json::parse(text, nullptr, /*allow_exceptions=*/false)
                        : json::parse(text, limitDepth, /*allow_exceptions=*/false);
    if (document.is_discarded()) throw DirectoryError("The station list is not valid JSON.");
    if (document.is_object() && document.contains("stations")) document = std::move(document["stations"]);
    if (!document.is_array()) throw DirectoryError("The station list is not a JSON array of stations.");
    std::vector<DirectoryStation> stations;
    stations.reserve(document.size());
    for (const json& element : document)
        if (element.is_object()) stations.push_back(ReadStation(element));
    return stations;
}

}  // namespace wt
