#include "directory/StationJson.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cmath>
#include <limits>

#include "directory/StationListFile.h"

namespace wt {

std::string DirectoryStation::FirstTag() const {
    const std::string first = tags.substr(0, tags.find(','));
    const auto begin = first.find_first_not_of(" \t");
    if (begin == std::string::npos) return {};
    return first.substr(begin, first.find_last_not_of(" \t") - begin + 1);
}

namespace {

using nlohmann::json;

enum class Field { None, Uuid, Name, Url, UrlResolved, Tags, Country, CountryCode, Language, Codec, Bitrate, Hls, Votes, LastCheckOk };

Field FieldOf(const std::string& key) {
    static const std::pair<const char*, Field> kFields[] = {
        {"stationuuid", Field::Uuid}, {"name", Field::Name},       {"url", Field::Url},
        {"url_resolved", Field::UrlResolved}, {"tags", Field::Tags}, {"country", Field::Country},
        {"countrycode", Field::CountryCode}, {"language", Field::Language}, {"codec", Field::Codec},
        {"bitrate", Field::Bitrate}, {"hls", Field::Hls},          {"votes", Field::Votes},
        {"lastcheckok", Field::LastCheckOk},
    };
    for (const auto& [name, field] : kFields)
        if (key == name) return field;
    return Field::None;
}

std::int64_t Clamp(double v) {
    if (!std::isfinite(v)) return 0;
    if (v >= 9.2e18) return std::numeric_limits<std::int64_t>::max();
    if (v <= -9.2e18) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(v);
}

// Reads the stations straight from the parser's events: nothing but the stations is kept, so
// memory stays in proportion to the stations, and a hostile nesting costs neither stack nor
// memory (the parser itself does not recurse).
class StationReader : public nlohmann::json_sax<json> {
public:
    std::vector<DirectoryStation> stations;
    bool rootIsList = false;  // the root was a station array or an object holding one

    bool null() override { return true; }
    bool boolean(bool v) override { return Number(v ? 1 : 0); }
    bool number_integer(number_integer_t v) override { return Number(v, std::to_string(v)); }
    bool number_unsigned(number_unsigned_t v) override {
        const auto max = static_cast<number_unsigned_t>(std::numeric_limits<std::int64_t>::max());
        return Number(v > max ? std::numeric_limits<std::int64_t>::max() : static_cast<std::int64_t>(v), std::to_string(v));
    }
    bool number_float(number_float_t v, const string_t&) override { return Number(Clamp(v)); }
    bool string(string_t& v) override {
        if (AtListItem()) {  // a string inside a field's array: tags as ["rock", "pop"]
            std::string& joined = TextOf(listField_);
            if (!joined.empty()) joined += ',';
            joined += v;
            return true;
        }
        if (!AtField()) return true;
        switch (field_) {
            case Field::Bitrate: current_.bitrate = Parse(v); break;
            case Field::Votes: current_.votes = Parse(v); break;
            case Field::Hls: current_.hls = v == "1" || v == "true"; break;
            case Field::LastCheckOk: current_.lastCheckOk = v == "1" || v == "true"; break;
            case Field::None: break;
            default: TextOf(field_) = std::move(v);
        }
        return true;
    }
    bool binary(binary_t&) override { return true; }
    bool start_object(std::size_t) override {
        if (depth_ == 0) rootObject_ = true;
        if (depth_ == listDepth_) {  // a station
            current_ = DirectoryStation();
            stationDepth_ = depth_ + 1;
        }
        ++depth_;
        return true;
    }
    bool key(string_t& k) override {
        if (depth_ == stationDepth_) field_ = FieldOf(k);
        else if (depth_ == 1 && rootObject_) rootKeyIsStations_ = k == "stations";
        return true;
    }
    bool end_object() override {
        --depth_;
        if (depth_ + 1 == stationDepth_) {
            stations.push_back(std::move(current_));
            stationDepth_ = -1;
        }
        return true;
    }
    bool start_array(std::size_t) override {
        if (depth_ == 0 || (depth_ == 1 && rootObject_ && rootKeyIsStations_ && listDepth_ == -1)) {
            listDepth_ = depth_ + 1;
            rootIsList = true;
        } else if (AtField()) {
            listField_ = field_;
            listItemDepth_ = depth_ + 1;
        }
        ++depth_;
        return true;
    }
    bool end_array() override {
        --depth_;
        if (depth_ + 1 == listItemDepth_) listItemDepth_ = -1;
        if (depth_ + 1 == listDepth_) listDepth_ = -2;  // the station array has ended
        return true;
    }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override { return false; }

private:
    bool AtField() const { return stationDepth_ >= 0 && depth_ == stationDepth_; }
    bool AtListItem() const { return listItemDepth_ >= 0 && depth_ == listItemDepth_ && listField_ != Field::None; }

    static std::int64_t Parse(const std::string& s) {
        std::int64_t v = 0;
        auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
        return ec == std::errc() ? v : 0;
    }

    // The text field a key names; fields that are not text get a scratch string.
    std::string& TextOf(Field f) {
        switch (f) {
            case Field::Uuid: return current_.stationuuid;
            case Field::Name: return current_.name;
            case Field::Url: return current_.url;
            case Field::UrlResolved: return current_.urlResolved;
            case Field::Tags: return current_.tags;
            case Field::Country: return current_.country;
            case Field::CountryCode: return current_.countryCode;
            case Field::Language: return current_.language;
            case Field::Codec: return current_.codec;
            default: scratch_.clear(); return scratch_;
        }
    }

    bool Number(std::int64_t v, const std::string& asText = {}) {
        if (!AtField()) return true;
        switch (field_) {
            case Field::Bitrate: current_.bitrate = v; break;
            case Field::Votes: current_.votes = v; break;
            case Field::Hls: current_.hls = v != 0; break;
            case Field::LastCheckOk: current_.lastCheckOk = v != 0; break;
            case Field::None: break;
            default: TextOf(field_) = asText;
        }
        return true;
    }

    int depth_ = 0;
    bool rootObject_ = false;
    bool rootKeyIsStations_ = false;
    int listDepth_ = -1;       // depth of the station array's elements; -2 once it has ended
    int stationDepth_ = -1;    // depth of the current station's fields, -1 outside a station
    int listItemDepth_ = -1;   // depth of the elements of an array-valued field
    Field field_ = Field::None;
    Field listField_ = Field::None;
    DirectoryStation current_;
    std::string scratch_;
};

}  // namespace

std::vector<DirectoryStation> ParseStationJson(std::string_view bytes) {
    const std::string text = StationListText(bytes);
    StationReader reader;
    if (!json::sax_parse(text, &reader)) throw DirectoryError("The station list is not valid JSON.");
    if (!reader.rootIsList) throw DirectoryError("The station list is not a JSON array of stations.");
    return std::move(reader.stations);
}

}  // namespace wt
