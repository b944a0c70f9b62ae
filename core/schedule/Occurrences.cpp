#include "schedule/Occurrences.h"

#include "schedule/LocalTime.h"

namespace wt::schedule {

bool RecordsOn(const Schedule& schedule, LocalDate date) {
    if (date < schedule.date) return false;
    switch (schedule.repeat) {
    case Repeat::Once:
        return date == schedule.date;
    case Repeat::Daily:
        return true;
    case Repeat::Weekdays:
        return (schedule.weekdays >> Weekday(date)) & 1;
    }
    return false;
}

std::optional<Window> WindowOn(const Schedule& schedule, LocalDate date) {
    Window window;
    window.start = FromLocal(date, schedule.startSecond);
    if (schedule.length == Length::Duration) {
        window.end = window.start + schedule.durationSeconds;
    } else {
        const bool nextDay = schedule.endSecond <= schedule.startSecond;
        window.end = FromLocal(nextDay ? AddDays(date, 1) : date, schedule.endSecond);
    }
    if (window.end <= window.start) return std::nullopt;
    return window;
}

namespace {

// Windows in start order from a day early enough for one still running at t (a recording
// lasts at most a day), over the next eight days: a weekday schedule recurs within a week.
template <typename Wanted>
std::optional<Window> FirstWindow(const Schedule& schedule, std::int64_t t, Wanted wanted) {
    LocalDate day = AddDays(ToLocal(t).date, -2);
    if (day < schedule.date) day = schedule.date;
    for (int i = 0; i < 11; ++i, day = AddDays(day, 1)) {
        if (!RecordsOn(schedule, day)) continue;
        auto window = WindowOn(schedule, day);
        if (window && wanted(*window)) return window;
        if (schedule.repeat == Repeat::Once) break;
    }
    return std::nullopt;
}

}  // namespace

std::optional<Window> WindowEndingAfter(const Schedule& schedule, std::int64_t t) {
    return FirstWindow(schedule, t, [t](const Window& w) { return w.end > t; });
}

std::optional<Window> WindowStartingAfter(const Schedule& schedule, std::int64_t t) {
    return FirstWindow(schedule, t, [t](const Window& w) { return w.start > t; });
}

}  // namespace wt::schedule
