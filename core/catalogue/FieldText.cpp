#include "catalogue/FieldText.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/CivilDate.h"
#include "platform/StringList.h"

namespace wt {

namespace {

// Numbers and dates in field text may carry spaces (only spaces) around them.
std::string_view TrimSpaces(std::string_view text) { return Trim(text, " "); }

// 1899-12-30 is 25569 days before 1970-01-01.
constexpr std::int64_t kDateTimeTo1970 = 25569;

bool ReadNumber(std::string_view& text, std::size_t digits, int& out) {
    if (text.size() < digits) return false;
    auto r = std::from_chars(text.data(), text.data() + digits, out);
    if (r.ec != std::errc() || r.ptr != text.data() + digits) return false;
    text.remove_prefix(digits);
    return true;
}

bool Expect(std::string_view& text, char c) {
    if (text.empty() || text.front() != c) return false;
    text.remove_prefix(1);
    return true;
}

std::optional<double> ParseTimePart(std::string_view text) {
    int h = 0, n = 0, s = 0, z = 0;
    if (!ReadNumber(text, 2, h) || !Expect(text, ':') || !ReadNumber(text, 2, n)) return std::nullopt;
    if (Expect(text, ':')) {
        if (!ReadNumber(text, 2, s)) return std::nullopt;
        if (Expect(text, '.') && !ReadNumber(text, 3, z)) return std::nullopt;
    }
    if (!text.empty() || h > 23 || n > 59 || s > 59) return std::nullopt;
    return ((h * 60 + n) * 60 + s) * 1000.0 + z;
}

}  // namespace

std::optional<std::int64_t> ParseInteger(std::string_view text) {
    text = TrimSpaces(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    std::int64_t value = 0;
    auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<double> ParseFloat(std::string_view text) {
    text = TrimSpaces(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0;
    auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string FormatFloat(double value) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15G", value);
    return buf;
}

double DateTimeFromDayNumber(std::int32_t day, std::int32_t ms) {
    // In double: a stored day number near the int32 limits would overflow the subtraction.
    return static_cast<double>(day) - kDateDelta + ms / kMsPerDay;
}

std::int32_t DayNumberOf(double dateTime) {
    double days = std::floor(dateTime);
    if (!(days > -1e9 && days < 1e9)) return 0;
    return static_cast<std::int32_t>(days) + kDateDelta;
}

std::int32_t MillisecondsOf(double dateTime) {
    if (!std::isfinite(dateTime)) return 0;
    double fraction = dateTime - std::floor(dateTime);
    auto ms = static_cast<std::int32_t>(std::llround(fraction * kMsPerDay));
    return ms >= 86400000 ? 86399999 : ms;
}

std::string FormatDate(double dateTime) {
    std::int64_t y;
    unsigned m, d;
    CivilFromDays(static_cast<std::int64_t>(DayNumberOf(dateTime)) - kDateDelta - kDateTimeTo1970, y, m, d);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04lld-%02u-%02u", static_cast<long long>(y), m, d);
    return buf;
}

std::string FormatTime(double dateTime) {
    std::int32_t ms = MillisecondsOf(dateTime);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", ms / 3600000, ms / 60000 % 60, ms / 1000 % 60);
    return buf;
}

std::string FormatDateTime(double dateTime) {
    if (MillisecondsOf(dateTime) == 0) return FormatDate(dateTime);
    return FormatDate(dateTime) + " " + FormatTime(dateTime);
}

std::optional<double> ParseDateTime(std::string_view text) {
    text = TrimSpaces(text);
    if (text.size() >= 5 && text[2] == ':') {
        auto ms = ParseTimePart(text);
        if (!ms) return std::nullopt;
        return *ms / kMsPerDay;
    }
    int y = 0, m = 0, d = 0;
    if (!ReadNumber(text, 4, y) || !Expect(text, '-') || !ReadNumber(text, 2, m) || !Expect(text, '-') ||
        !ReadNumber(text, 2, d) || m < 1 || m > 12 || d < 1 || d > 31)
        return std::nullopt;
    double days = static_cast<double>(DaysFromCivil(y, static_cast<unsigned>(m), static_cast<unsigned>(d)) +
                                      kDateTimeTo1970);
    if (text.empty()) return days;
    if (!Expect(text, ' ')) return std::nullopt;
    auto ms = ParseTimePart(text);
    if (!ms) return std::nullopt;
    return days + *ms / kMsPerDay;
}

}  // namespace wt
