#include "schedule/LocalTime.h"

#include <ctime>

namespace wt::schedule {

// Howard Hinnant's days_from_civil / civil_from_days.
std::int64_t DaysFromCivil(LocalDate date) {
    const std::int64_t y = date.year - (date.month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t mp = (date.month + 9) % 12;
    const std::int64_t doy = (153 * mp + 2) / 5 + date.day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

LocalDate CivilFromDays(std::int64_t days) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t doe = days - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    LocalDate date;
    date.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    date.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    date.year = static_cast<int>(yoe + era * 400 + (date.month <= 2 ? 1 : 0));
    return date;
}

LocalDate AddDays(LocalDate date, int days) { return CivilFromDays(DaysFromCivil(date) + days); }

int Weekday(LocalDate date) {
    // 1970-01-01 was a Thursday (3 counting from Monday = 0).
    const std::int64_t w = (DaysFromCivil(date) + 3) % 7;
    return static_cast<int>(w < 0 ? w + 7 : w);
}

bool IsValidDate(LocalDate date) {
    if (date.year < 1970 || date.year > 9999 || date.month < 1 || date.month > 12 || date.day < 1) return false;
    return CivilFromDays(DaysFromCivil(date)) == date;
}

LocalDateTime ToLocal(std::int64_t unixTime) {
    const std::time_t t = static_cast<std::time_t>(unixTime);
    std::tm tm{};
    localtime_r(&t, &tm);
    return {{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday}, tm.tm_hour * 3600 + tm.tm_min * 60 + tm.tm_sec};
}

namespace {

// The local clock's reading as seconds on a plain count of days, ignoring the zone.
std::int64_t Naive(LocalDateTime local) { return DaysFromCivil(local.date) * kSecondsPerDay + local.second; }

}  // namespace

std::int64_t FromLocal(LocalDate date, int secondOfDay) {
    const std::int64_t wanted = DaysFromCivil(date) * kSecondsPerDay + secondOfDay;
    // The readings as standard time and as summer time; each one that the clock really shows
    // is a candidate, the earlier wins.
    bool found = false;
    std::int64_t best = 0;
    for (int dst : {0, 1}) {
        std::tm tm{};
        tm.tm_year = date.year - 1900;
        tm.tm_mon = date.month - 1;
        tm.tm_mday = date.day;
        tm.tm_hour = secondOfDay / 3600;
        tm.tm_min = secondOfDay / 60 % 60;
        tm.tm_sec = secondOfDay % 60;
        tm.tm_isdst = dst;
        const std::int64_t t = std::mktime(&tm);
        if (t == -1 || Naive(ToLocal(t)) != wanted) continue;
        if (!found || t < best) best = t;
        found = true;
    }
    if (found) return best;
    // Skipped by the clocks: the first moment whose reading is past it. Offsets stay within
    // a day, and readings rise with time away from a repeated hour.
    std::int64_t lo = wanted - 2 * kSecondsPerDay;  // reads before it
    std::int64_t hi = wanted + 2 * kSecondsPerDay;  // reads after it
    while (hi - lo > 1) {
        const std::int64_t mid = lo + (hi - lo) / 2;
        (Naive(ToLocal(mid)) >= wanted ? hi : lo) = mid;
    }
    return hi;
}

}  // namespace wt::schedule
