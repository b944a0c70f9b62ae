#pragma once
// Text forms of field values: integers, floating-point numbers, dates and times, and the
// day numbers the file stores them in.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wt {

// The file's day number of 1899-12-30, the zero of date-time values.
inline constexpr std::int32_t kDateDelta = 693594;
inline constexpr double kMsPerDay = 86400000.0;

std::optional<std::int64_t> ParseInteger(std::string_view text);
std::optional<double> ParseFloat(std::string_view text);
std::string FormatFloat(double value);

// Date-time values are days since 1899-12-30 with the time of day as the fraction.
std::string FormatDate(double dateTime);
std::string FormatTime(double dateTime);
std::string FormatDateTime(double dateTime);
// Accepts "yyyy-mm-dd", "hh:nn[:ss[.zzz]]" and "yyyy-mm-dd hh:nn[:ss[.zzz]]".
std::optional<double> ParseDateTime(std::string_view text);

// The file's encodings: ftDate holds a day number (0001-01-01 is day 1), ftTime milliseconds
// since midnight, ftDateTime day number x 86400000 + milliseconds.
double DateTimeFromDayNumber(std::int32_t day, std::int32_t ms);
std::int32_t DayNumberOf(double dateTime);
std::int32_t MillisecondsOf(double dateTime);

}  // namespace wt
