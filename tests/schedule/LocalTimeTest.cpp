// Local wall-clock times to real time and back, across both daylight-saving changes, and the
// windows a schedule records in.
#include "BerlinTime.h"

#include "schedule/Occurrences.h"

#include <optional>

namespace wt::schedule::test {
namespace {

TEST(Calendar, DaysAndWeekdaysMatchTheGregorianCalendar) {
    struct Case { LocalDate date; std::int64_t days; int weekday; };
    const Case cases[] = {
        {{1970, 1, 1}, 0, 3},        // a Thursday
        {{2000, 2, 29}, 11016, 1},   // leap day of a century divisible by 400, a Tuesday
        {{2026, 3, 29}, 20541, 6},   // a Sunday
        {{2026, 12, 31}, 20818, 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DaysFromCivil(c.date), c.days) << c.date.year << "-" << c.date.month << "-" << c.date.day;
        EXPECT_EQ(CivilFromDays(c.days), c.date);
        EXPECT_EQ(Weekday(c.date), c.weekday);
    }
    EXPECT_EQ(AddDays({2026, 12, 31}, 1), (LocalDate{2027, 1, 1}));
    EXPECT_FALSE(IsValidDate({2026, 2, 29}));
    EXPECT_TRUE(IsValidDate({2028, 2, 29}));
}

using LocalTime = BerlinTime;

TEST_F(LocalTime, WallClockTimesBecomeRealTimeAcrossBothChanges) {
    struct Case { const char* what; std::int64_t local; std::int64_t utc; };
    const Case cases[] = {
        {"winter", At(2026, 1, 15, 20, 0), Utc(2026, 1, 15, 19, 0)},
        {"summer", At(2026, 7, 1, 20, 0), Utc(2026, 7, 1, 18, 0)},
        {"just before the clocks jump", At(2026, 3, 29, 1, 59, 59), Utc(2026, 3, 29, 0, 59, 59)},
        {"skipped hour: when the clocks jump", At(2026, 3, 29, 2, 30), Utc(2026, 3, 29, 1, 0)},
        {"the first time after the jump", At(2026, 3, 29, 3, 0), Utc(2026, 3, 29, 1, 0)},
        {"repeated hour: its first showing", At(2026, 10, 25, 2, 30), Utc(2026, 10, 25, 0, 30)},
        {"after the repeated hour", At(2026, 10, 25, 3, 0), Utc(2026, 10, 25, 2, 0)},
    };
    for (const Case& c : cases) EXPECT_EQ(c.local, c.utc) << c.what;
    EXPECT_EQ(Local(Utc(2026, 10, 25, 1, 30)), "2026-10-25 02:30:00") << "the second showing reads the same";
    EXPECT_EQ(Local(Utc(2026, 3, 29, 1, 0)), "2026-03-29 03:00:00");
}

Schedule Daily(int startSecond) {
    Schedule s;
    s.url = "http://127.0.0.1/a";
    s.date = {2026, 1, 1};
    s.repeat = Repeat::Daily;
    s.startSecond = startSecond;
    return s;
}
Schedule For(Schedule s, int seconds) {
    s.length = Length::Duration;
    s.durationSeconds = seconds;
    return s;
}
Schedule Until(Schedule s, int endSecond) {
    s.length = Length::Until;
    s.endSecond = endSecond;
    return s;
}
Schedule OnDays(Schedule s, std::uint8_t days) {
    s.repeat = Repeat::Weekdays;
    s.weekdays = days;
    return s;
}
Schedule Once(Schedule s, LocalDate date) {
    s.repeat = Repeat::Once;
    s.date = date;
    return s;
}
constexpr int H = 3600;
constexpr std::uint8_t kMon = 1, kWed = 4, kFri = 16, kSun = 64;

TEST_F(LocalTime, TheWindowRunningOrNextAtATime) {
    struct Case {
        const char* what;
        Schedule schedule;
        std::int64_t now;
        std::optional<std::string> start, end;  // local times; none: no window
    };
    const Case cases[] = {
        {"once, before it", Once(For(Daily(20 * H), 2 * H), {2026, 5, 8}), At(2026, 5, 1, 12, 0),
         "2026-05-08 20:00:00", "2026-05-08 22:00:00"},
        {"once, while it runs", Once(For(Daily(20 * H), 2 * H), {2026, 5, 8}), At(2026, 5, 8, 21, 0),
         "2026-05-08 20:00:00", "2026-05-08 22:00:00"},
        {"once, over", Once(For(Daily(20 * H), 2 * H), {2026, 5, 8}), At(2026, 5, 8, 22, 0), std::nullopt, std::nullopt},
        {"daily, after today's", For(Daily(20 * H), H), At(2026, 5, 8, 21, 30), "2026-05-09 20:00:00",
         "2026-05-09 21:00:00"},
        {"daily, not before its first day", For(Daily(20 * H), H), At(2025, 12, 30, 0, 0), "2026-01-01 20:00:00",
         "2026-01-01 21:00:00"},
        {"Mon/Wed/Fri from a Friday night", OnDays(For(Daily(20 * H), H), kMon | kWed | kFri),
         At(2026, 5, 8, 23, 0), "2026-05-11 20:00:00", "2026-05-11 21:00:00"},
        {"Sundays only, from a Monday", OnDays(For(Daily(9 * H), H), kSun), At(2026, 5, 11, 8, 0),
         "2026-05-17 09:00:00", "2026-05-17 10:00:00"},
        {"until a time at or before the start ends next day", Until(Daily(23 * H), H), At(2026, 5, 8, 12, 0),
         "2026-05-08 23:00:00", "2026-05-09 01:00:00"},
        {"running past midnight, seen after midnight", Until(Daily(23 * H), H), At(2026, 5, 9, 0, 30),
         "2026-05-08 23:00:00", "2026-05-09 01:00:00"},
        // The night the clocks go forward: a duration is real time, an end is a clock time.
        {"2 hours over the jump", For(Daily(H + 1800), 2 * H), At(2026, 3, 29, 0, 0), "2026-03-29 01:30:00",
         "2026-03-29 04:30:00"},
        {"until 03:30 over the jump is one real hour", Until(Daily(H + 1800), 3 * H + 1800), At(2026, 3, 29, 0, 0),
         "2026-03-29 01:30:00", "2026-03-29 03:30:00"},
        {"a start in the skipped hour starts as the clocks jump", For(Daily(2 * H + 1800), H),
         At(2026, 3, 29, 0, 0), "2026-03-29 03:00:00", "2026-03-29 04:00:00"},
        {"the next day it is back at its time", For(Daily(2 * H + 1800), H), At(2026, 3, 29, 5, 0),
         "2026-03-30 02:30:00", "2026-03-30 03:30:00"},
        // The night the clocks go back: the repeated hour is recorded once, from its first showing.
        {"a start in the repeated hour", For(Daily(2 * H + 1800), H), At(2026, 10, 25, 0, 0),
         "2026-10-25 02:30:00", "2026-10-25 02:30:00"},
        {"until 03:00 over the change is two real hours", Until(Daily(2 * H), 3 * H), At(2026, 10, 25, 0, 0),
         "2026-10-25 02:00:00", "2026-10-25 03:00:00"},
    };
    for (const Case& c : cases) {
        auto w = WindowEndingAfter(c.schedule, c.now);
        ASSERT_EQ(w.has_value(), c.start.has_value()) << c.what;
        if (!w) continue;
        EXPECT_EQ(Local(w->start), *c.start) << c.what;
        EXPECT_EQ(Local(w->end), *c.end) << c.what;
    }
    // The two nights' real lengths.
    EXPECT_EQ(WindowEndingAfter(Until(Daily(H + 1800), 3 * H + 1800), At(2026, 3, 29, 0, 0))->end -
                  At(2026, 3, 29, 1, 30), H);
    EXPECT_EQ(WindowEndingAfter(For(Daily(2 * H + 1800), H), At(2026, 10, 25, 0, 0))->end -
                  At(2026, 10, 25, 2, 30), H) << "an hour of real time, ending at the second 02:30";
    EXPECT_EQ(WindowEndingAfter(Until(Daily(2 * H), 3 * H), At(2026, 10, 25, 0, 0))->end - At(2026, 10, 25, 2, 0),
              2 * H);
}

TEST_F(LocalTime, TheNextStartSkipsTheWindowRunningNow) {
    Schedule s = For(Daily(20 * H), 2 * H);
    EXPECT_EQ(Local(WindowStartingAfter(s, At(2026, 5, 8, 21, 0))->start), "2026-05-09 20:00:00");
    EXPECT_EQ(Local(WindowStartingAfter(s, At(2026, 5, 8, 19, 59, 59))->start), "2026-05-08 20:00:00");
    EXPECT_FALSE(WindowStartingAfter(Once(s, {2026, 5, 8}), At(2026, 5, 8, 20, 0)));
}

}  // namespace
}  // namespace wt::schedule::test
