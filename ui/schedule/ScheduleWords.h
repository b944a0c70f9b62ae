#pragma once
// How a schedule reads in the list, the Downloading row and the tray: its days, its times, its
// length and its folder, in the user's words.
#include "schedule/Occurrences.h"
#include "schedule/Schedule.h"

#include <QString>

#include <cstdint>

namespace wt::ui {

// "HH:MM" of a moment in local time.
QString ClockTime(std::int64_t unixTime);
// "Fri 11 Dec 20:00" of a moment in local time.
QString DayAndTime(std::int64_t unixTime);
// "Once on 2026-12-11 at 20:00", "Daily at 20:00", "Mon, Fri at 20:00:30".
QString WhenText(const schedule::Schedule& schedule);
// "2 h 30 min", "until 22:00".
QString LengthText(const schedule::Schedule& schedule);
// "Scheduled until HH:MM", beside a scheduled rip's status.
QString ScheduledUntilText(std::int64_t end);

}  // namespace wt::ui
