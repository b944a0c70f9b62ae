#pragma once
// When a schedule records: its windows of real time, from the local wall-clock times it names.
// A daily or weekday schedule starts on its date or later; a duration is real time (a 2-hour
// recording across the night the clocks change still lasts 2 hours), an end time is read on
// the wall clock.
#include "schedule/Schedule.h"

#include <cstdint>
#include <optional>

namespace wt::schedule {

struct Window {
    std::int64_t start = 0;  // Unix time, inclusive
    std::int64_t end = 0;    // exclusive
    bool Contains(std::int64_t t) const { return start <= t && t < end; }
    auto operator<=>(const Window&) const = default;
};

// Whether the schedule records on that day (for Once: only on its date).
bool RecordsOn(const Schedule& schedule, LocalDate date);
// The window that starts on date, whether or not the schedule records that day; none when it
// would be empty.
std::optional<Window> WindowOn(const Schedule& schedule, LocalDate date);

// The first window that has not ended at t (it may be running at t); none when there is none.
std::optional<Window> WindowEndingAfter(const Schedule& schedule, std::int64_t t);
// The first window that starts after t.
std::optional<Window> WindowStartingAfter(const Schedule& schedule, std::int64_t t);

}  // namespace wt::schedule
