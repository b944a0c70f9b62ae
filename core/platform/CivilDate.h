#pragma once
// Calendar arithmetic on the proleptic Gregorian calendar (H. Hinnant's algorithms), for the
// settings' and the data set's date-times alike.
#include <cstdint>

namespace wt {

// Days since 1970-01-01 of a civil date.
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day);
// The civil date of a day number counted from 1970-01-01.
void CivilFromDays(std::int64_t days, std::int64_t& year, unsigned& month, unsigned& day);

}  // namespace wt
