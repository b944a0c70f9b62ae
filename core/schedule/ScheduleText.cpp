#include "schedule/ScheduleText.h"

#include "schedule/LocalTime.h"

#include <charconv>
#include <cstdio>

namespace wt::schedule {

const char* const kWeekdayNames[7] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};

namespace {

constexpr std::size_t kFieldCount = 11;

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        default: out += c;
        }
    }
    return out;
}

std::optional<std::string> Unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) return std::nullopt;
        switch (text[i]) {
        case '\\': out += '\\'; break;
        case 't': out += '\t'; break;
        case 'r': out += '\r'; break;
        case 'n': out += '\n'; break;
        default: return std::nullopt;
        }
    }
    return out;
}

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == '\t')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

// A whole decimal number within [lo, hi].
std::optional<long long> Number(const std::string& text, long long lo, long long hi) {
    long long value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < lo || value > hi)
        return std::nullopt;
    return value;
}

std::optional<LocalDate> ParseDate(const std::string& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    auto y = Number(text.substr(0, 4), 1970, 9999);
    auto m = Number(text.substr(5, 2), 1, 12);
    auto d = Number(text.substr(8, 2), 1, 31);
    if (!y || !m || !d) return std::nullopt;
    LocalDate date{static_cast<int>(*y), static_cast<int>(*m), static_cast<int>(*d)};
    if (!IsValidDate(date)) return std::nullopt;
    return date;
}

std::string FormatDate(LocalDate date) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}

bool StartsWith(const std::string& text, const char* prefix, std::string* rest) {
    const std::string p(prefix);
    if (text.compare(0, p.size(), p) != 0) return false;
    *rest = text.substr(p.size());
    return true;
}

std::optional<Schedule> Fail(std::string* why, const std::string& reason) {
    if (why) *why = reason;
    return std::nullopt;
}

}  // namespace

std::optional<int> ParseTimeOfDay(const std::string& text) {
    if (text.size() != 5 && text.size() != 8) return std::nullopt;
    if (text[2] != ':' || (text.size() == 8 && text[5] != ':')) return std::nullopt;
    auto h = Number(text.substr(0, 2), 0, 23);
    auto m = Number(text.substr(3, 2), 0, 59);
    auto s = text.size() == 8 ? Number(text.substr(6, 2), 0, 59) : std::optional<long long>(0);
    if (!h || !m || !s) return std::nullopt;
    return static_cast<int>(*h * 3600 + *m * 60 + *s);
}

std::string FormatTimeOfDay(int secondOfDay) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", secondOfDay / 3600 % 24, secondOfDay / 60 % 60,
                  secondOfDay % 60);
    return text;
}

std::optional<std::uint8_t> ParseWeekdays(const std::string& text) {
    std::uint8_t bits = 0;
    std::size_t from = 0;
    while (from <= text.size()) {
        std::size_t comma = text.find(',', from);
        if (comma == std::string::npos) comma = text.size();
        const std::string name = text.substr(from, comma - from);
        int day = -1;
        for (int i = 0; i < 7; ++i)
            if (name == kWeekdayNames[i]) day = i;
        if (day < 0) return std::nullopt;
        bits |= static_cast<std::uint8_t>(1 << day);
        from = comma + 1;
    }
    return bits;
}

std::string FormatWeekdays(std::uint8_t weekdays) {
    std::string text;
    for (int i = 0; i < 7; ++i) {
        if (!((weekdays >> i) & 1)) continue;
        if (!text.empty()) text += ',';
        text += kWeekdayNames[i];
    }
    return text;
}

std::string FormatSchedule(const Schedule& s) {
    std::string repeat = s.repeat == Repeat::Once    ? "once"
                         : s.repeat == Repeat::Daily ? "daily"
                                                     : "days:" + FormatWeekdays(s.weekdays);
    std::string length = s.length == Length::Duration ? "for:" + std::to_string(s.durationSeconds)
                                                      : "until:" + FormatTimeOfDay(s.endSecond);
    std::string output = s.output == Output::GenreFolder ? "genre" : "folder:" + Escape(s.folder);
    const std::string fields[kFieldCount] = {std::to_string(kTextVersion), s.enabled ? "on" : "off",
                                             std::to_string(s.stationId), Escape(s.url),
                                             Escape(s.title), Escape(s.genre), FormatDate(s.date),
                                             FormatTimeOfDay(s.startSecond), repeat, length, output};
    std::string line;
    for (const std::string& field : fields) {
        if (!line.empty()) line += '\t';
        line += field;
    }
    return line;
}

std::optional<Schedule> ParseSchedule(const std::string& line, std::string* why) {
    const std::vector<std::string> f = SplitTabs(line);
    auto version = Number(f[0], 0, 1 << 30);
    if (!version) return Fail(why, "no version number at its start");
    if (*version != kTextVersion)
        return Fail(why, "format version " + f[0] + " is not known to this version of Wavetrap");
    if (f.size() != kFieldCount)
        return Fail(why, std::to_string(f.size()) + " fields instead of " + std::to_string(kFieldCount));
    Schedule s;
    if (f[1] != "on" && f[1] != "off") return Fail(why, "neither on nor off");
    s.enabled = f[1] == "on";
    auto id = Number(f[2], INT32_MIN, INT32_MAX);
    if (!id) return Fail(why, "the station number is not a number");
    s.stationId = static_cast<std::int32_t>(*id);
    auto url = Unescape(f[3]), title = Unescape(f[4]), genre = Unescape(f[5]);
    if (!url || !title || !genre) return Fail(why, "a text holds a broken \\ escape");
    if (url->empty()) return Fail(why, "no station address");
    s.url = *url;
    s.title = *title;
    s.genre = *genre;
    auto date = ParseDate(f[6]);
    if (!date) return Fail(why, "the date is not a YYYY-MM-DD day");
    s.date = *date;
    auto start = ParseTimeOfDay(f[7]);
    if (!start) return Fail(why, "the start is not a HH:MM:SS time");
    s.startSecond = *start;

    std::string rest;
    if (f[8] == "once") {
        s.repeat = Repeat::Once;
    } else if (f[8] == "daily") {
        s.repeat = Repeat::Daily;
    } else if (StartsWith(f[8], "days:", &rest)) {
        auto days = ParseWeekdays(rest);
        if (!days || *days == 0) return Fail(why, "the weekdays are not Mon,Tue,... names");
        s.repeat = Repeat::Weekdays;
        s.weekdays = *days;
    } else {
        return Fail(why, "the repeat is not once, daily or days:...");
    }

    if (StartsWith(f[9], "for:", &rest)) {
        auto seconds = Number(rest, 1, kSecondsPerDay);
        if (!seconds) return Fail(why, "the length is not 1 to 86400 seconds");
        s.length = Length::Duration;
        s.durationSeconds = static_cast<int>(*seconds);
    } else if (StartsWith(f[9], "until:", &rest)) {
        auto end = ParseTimeOfDay(rest);
        if (!end) return Fail(why, "the end is not a HH:MM:SS time");
        s.length = Length::Until;
        s.endSecond = *end;
    } else {
        return Fail(why, "the length is neither for:... nor until:...");
    }

    if (f[10] == "genre") {
        s.output = Output::GenreFolder;
    } else if (StartsWith(f[10], "folder:", &rest)) {
        auto folder = Unescape(rest);
        if (!folder || folder->empty()) return Fail(why, "the folder is empty or broken");
        s.output = Output::OtherFolder;
        s.folder = *folder;
        if (s.folder.back() != '/') s.folder += '/';
    } else {
        return Fail(why, "the output is neither genre nor folder:...");
    }
    return s;
}

ScheduleList ParseScheduleLines(const std::vector<std::string>& lines) {
    ScheduleList list;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty()) continue;
        std::string why;
        if (auto schedule = ParseSchedule(lines[i], &why)) {
            list.schedules.push_back(std::move(*schedule));
        } else {
            list.keptLines.push_back(lines[i]);
            list.notes.push_back("Scheduled recording " + std::to_string(i + 1) + " was skipped: " + why + ".");
        }
    }
    return list;
}

std::vector<std::string> FormatScheduleLines(const ScheduleList& list) {
    std::vector<std::string> lines;
    for (const Schedule& schedule : list.schedules) lines.push_back(FormatSchedule(schedule));
    lines.insert(lines.end(), list.keptLines.begin(), list.keptLines.end());
    return lines;
}

}  // namespace wt::schedule
