#pragma once
// Date-times as the settings file stores them: days since 30 December 1899 as a double, with
// the time of day as the fraction, in local time.
#include <ctime>

namespace wt {

double NowDateTime();
double DateTimeFromTimeT(std::time_t time);
// -1 for a value outside the years 1 to 9999 (or not a number).
std::time_t TimeTFromDateTime(double dateTime);
double EncodeDate(int year, int month, int day);

}  // namespace wt
