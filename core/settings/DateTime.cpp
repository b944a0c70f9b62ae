#include "settings/DateTime.h"

#include "platform/CivilDate.h"

#include <cmath>
#include <cstdint>

namespace wt {

namespace {

const std::int64_t kEpochDays = DaysFromCivil(1899, 12, 30);

}  // namespace

double EncodeDate(int year, int month, int day) {
    return static_cast<double>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpochDays);
}

double DateTimeFromTimeT(std::time_t time) {
    std::tm local{};
    localtime_r(&time, &local);
    const double days = EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    const int seconds = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    return days + seconds / 86400.0;
}

double NowDateTime() {
    std::timespec now{};
    std::timespec_get(&now, TIME_UTC);
    return DateTimeFromTimeT(now.tv_sec) + (now.tv_nsec / 1e9) / 86400.0;
}

std::time_t TimeTFromDateTime(double dateTime) {
    // A damaged file may hold any bit pattern here: keep to years 1 to 9999.
    if (!(dateTime > -693593.0 && dateTime < 2958466.0)) return static_cast<std::time_t>(-1);
    const double whole = std::floor(dateTime);
    const auto seconds = static_cast<int>(std::llround((dateTime - whole) * 86400.0));
    std::int64_t year;
    unsigned month, day;
    CivilFromDays(static_cast<std::int64_t>(whole) + kEpochDays, year, month, day);
    std::tm local{};
    local.tm_year = static_cast<int>(year - 1900);
    local.tm_mon = static_cast<int>(month) - 1;
    local.tm_mday = static_cast<int>(day);
    local.tm_sec = seconds;  // mktime normalises seconds past the minute
    local.tm_isdst = -1;
    return std::mktime(&local);
}

}  // namespace wt
