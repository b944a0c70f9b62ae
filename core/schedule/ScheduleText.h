#pragma once
// The stored form of the schedules: the setting "Schedules", a list with one schedule per line.
// A line is tab-separated fields, the first the format's version:
//
//   1  on|off  stationId  url  title  genre  YYYY-MM-DD  HH:MM:SS  repeat  length  output
//
//   repeat: once | daily | days:Mon,Tue,Wed,Thu,Fri,Sat,Sun (any of them, in any order)
//   length: for:SECONDS (1 to 86400) | until:HH:MM:SS
//   output: genre | folder:PATH
//
// In the texts (url, title, genre, PATH) a backslash, tab, CR and LF are written \\ \t \r \n.
// A line that cannot be read (damaged, or from a newer version) is skipped with a note and
// kept as it is, so that saving the list again does not lose it.
#include "schedule/Schedule.h"

#include <optional>
#include <string>
#include <vector>

namespace wt::schedule {

inline constexpr int kTextVersion = 1;

struct ScheduleList {
    std::vector<Schedule> schedules;
    std::vector<std::string> keptLines;  // unreadable lines, written back unchanged
    std::vector<std::string> notes;      // one per skipped line, for the user
};

std::string FormatSchedule(const Schedule& schedule);
// The schedule of one line, or none with the reason in why.
std::optional<Schedule> ParseSchedule(const std::string& line, std::string* why = nullptr);

// Empty lines are ignored; the notes name the line by its number (from 1).
ScheduleList ParseScheduleLines(const std::vector<std::string>& lines);
std::vector<std::string> FormatScheduleLines(const ScheduleList& list);

// "HH:MM:SS" (or "HH:MM") to seconds of the day, and back.
std::optional<int> ParseTimeOfDay(const std::string& text);
std::string FormatTimeOfDay(int secondOfDay);
// "Mon,Fri" to the weekday bits (bit 0 Monday), and back.
std::optional<std::uint8_t> ParseWeekdays(const std::string& text);
std::string FormatWeekdays(std::uint8_t weekdays);
extern const char* const kWeekdayNames[7];

}  // namespace wt::schedule
