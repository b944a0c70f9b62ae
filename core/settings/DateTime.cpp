#include "settings/DateTime.h"

#include <cmath>
#include <cstdint>

namespace wt {

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2));
}

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
    int year, month, day;
    CivilFromDays(static_cast<std::int64_t>(whole) + kEpochDays, year, month, day);
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_sec = seconds;  // mktime normalises seconds past the minute
    local.tm_isdst = -1;
    return std::mktime(&local);
}

}  // namespace wt
