#pragma once
// One scheduled recording: which station, when (local wall-clock time, once, daily or on chosen
// weekdays), for how long, and where its songs go. Plain data; the stored text form is in
// ScheduleText.h and the times it runs at in Occurrences.h.
#include <compare>
#include <cstdint>
#include <string>

namespace wt::schedule {

struct LocalDate {
    int year = 1970;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    auto operator<=>(const LocalDate&) const = default;
};

enum class Repeat { Once, Daily, Weekdays };
enum class Length { Duration, Until };
enum class Output { GenreFolder, OtherFolder };

inline constexpr int kSecondsPerDay = 24 * 60 * 60;

struct Schedule {
    bool enabled = true;
    // The station: its catalogue ID (0 when it has none), stream URL, title and genre as they
    // were when the schedule was made. The URL names the station: two schedules with one URL
    // record into one rip.
    std::int32_t stationId = 0;
    std::string url;
    std::string title;
    std::string genre;
    // The day of the first recording (of the only one, for Once) and its start time of day in
    // seconds after midnight, local time.
    LocalDate date;
    int startSecond = 0;
    Repeat repeat = Repeat::Once;
    std::uint8_t weekdays = 0;  // Repeat::Weekdays: bit 0 Monday ... bit 6 Sunday
    Length length = Length::Duration;
    int durationSeconds = 3600;  // Length::Duration: 1 second to 24 hours of real time
    int endSecond = 0;           // Length::Until: time of day; at or before the start = next day
    Output output = Output::GenreFolder;
    std::string folder;  // Output::OtherFolder, ends in '/'

    bool operator==(const Schedule&) const = default;
};

}  // namespace wt::schedule
