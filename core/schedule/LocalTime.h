#pragma once
// Calendar days and local wall-clock time. Local time is the C library's (the TZ variable or
// the system's zone), so daylight-saving changes follow the zone's own rules.
#include "schedule/Schedule.h"

#include <cstdint>

namespace wt::schedule {

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
std::int64_t DaysFromCivil(LocalDate date);
LocalDate CivilFromDays(std::int64_t days);
LocalDate AddDays(LocalDate date, int days);
// 0 Monday ... 6 Sunday.
int Weekday(LocalDate date);
bool IsValidDate(LocalDate date);

struct LocalDateTime {
    LocalDate date;
    int second = 0;  // of the day
};

LocalDateTime ToLocal(std::int64_t unixTime);

// The moment the local clock shows secondOfDay on date. A time the clocks skip (the hour lost
// when summer time begins) is the moment they jump past it; a time they show twice (the hour
// repeated when it ends) is its first showing.
std::int64_t FromLocal(LocalDate date, int secondOfDay);

}  // namespace wt::schedule
