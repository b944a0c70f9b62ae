#include "schedule/ScheduleRunner.h"

#include <algorithm>

namespace wt::schedule {

ScheduleRunner::ScheduleRunner(RipControl& control, const Clock& clock) : control_(control), clock_(clock) {}

void ScheduleRunner::SetSchedules(std::vector<Schedule> schedules) { schedules_ = std::move(schedules); }

bool ScheduleRunner::Done(const std::string& url, const Window& w) const {
    return done_.count({url, w.start, w.end}) > 0;
}

void ScheduleRunner::MarkDone(const std::string& url, const std::vector<Window>& windows) {
    for (const Window& w : windows) done_.insert({url, w.start, w.end});
}

void ScheduleRunner::Poll() {
    const std::int64_t now = clock_.UnixTime();
    struct Wanted {
        const Schedule* first = nullptr;  // the schedule whose window started first
        Window earliest;
        std::vector<Window> windows;
        std::int64_t end = 0;
    };
    // The windows running now, by station. Computed before any rip is stopped, so that a
    // window starting as another ends keeps the rip going.
    std::map<std::string, Wanted> wanted;
    for (const Schedule& s : schedules_) {
        if (!s.enabled) continue;
        auto w = WindowEndingAfter(s, now);
        if (!w || !w->Contains(now) || Done(s.url, *w)) continue;
        Wanted& station = wanted[s.url];
        if (!station.first || w->start < station.earliest.start) {
            station.first = &s;
            station.earliest = *w;
        }
        station.windows.push_back(*w);
        station.end = std::max(station.end, w->end);
    }

    for (auto it = running_.begin(); it != running_.end();) {
        Running& rip = it->second;
        if (!control_.IsRipping(rip.handle)) {
            // Stopped by the user or ended by itself: not again for these windows.
            MarkDone(it->first, rip.windows);
            wanted.erase(it->first);
            if (OnEnded) OnEnded(rip.title, false);
            it = running_.erase(it);
            continue;
        }
        auto station = wanted.find(it->first);
        if (station == wanted.end()) {
            // Its end has come, or its schedules were switched off or deleted: switched on
            // again inside the window, it records the rest.
            control_.StopRip(rip.handle);
            if (OnEnded) OnEnded(rip.title, true);
            it = running_.erase(it);
            continue;
        }
        for (const Window& w : station->second.windows)
            if (std::find(rip.windows.begin(), rip.windows.end(), w) == rip.windows.end()) rip.windows.push_back(w);
        if (station->second.end != rip.end) {
            rip.end = station->second.end;
            control_.ExtendRip(rip.handle, rip.end);
        }
        wanted.erase(station);
        ++it;
    }

    for (auto& [url, station] : wanted) {
        std::string reason;
        const std::int64_t handle = control_.StartRip(*station.first, station.end, reason);
        if (handle <= 0) {
            // Not tried again every second: the next window of the station tries again.
            MarkDone(url, station.windows);
            if (OnStartFailed) OnStartFailed(*station.first, reason);
            continue;
        }
        running_[url] = Running{handle, station.end, station.first->title, station.windows};
        if (OnStarted) OnStarted(*station.first, station.end);
    }

    // Windows that have ended can never come back.
    for (auto it = done_.begin(); it != done_.end();) it = std::get<2>(*it) <= now ? done_.erase(it) : std::next(it);
}

std::optional<Upcoming> ScheduleRunner::NextRecording() const {
    const std::int64_t now = clock_.UnixTime();
    std::optional<Upcoming> next;
    for (const Schedule& s : schedules_) {
        if (!s.enabled) continue;
        auto w = WindowStartingAfter(s, now);
        if (w && (!next || w->start < next->window.start)) next = Upcoming{s, *w};
    }
    return next;
}

std::map<std::string, std::int64_t> ScheduleRunner::ActiveEnds() const {
    std::map<std::string, std::int64_t> ends;
    for (const auto& [url, rip] : running_) ends[url] = rip.end;
    return ends;
}

}  // namespace wt::schedule
