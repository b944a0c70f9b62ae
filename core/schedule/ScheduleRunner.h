#pragma once
// Runs the schedules: polled about once a second, it starts a station's rip when one of its
// schedules' windows is running, keeps it to the latest end of that station's running windows
// (two overlapping schedules of one station make one rip to the later end, and a program started
// inside a window records the rest of it) and stops it at that end. A rip that ends otherwise
// (the user stopped it, it failed) is not started again for the windows it was recording; the
// station's next window starts a new one.
//
// The rips themselves are the host's (the window's Downloading list, or the headless tool):
// the runner reaches them through RipControl by handle. Everything runs on the thread that
// calls Poll; the control and the clock must outlive the runner.
#include "platform/Clock.h"
#include "schedule/Occurrences.h"
#include "schedule/Schedule.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace wt::schedule {

class RipControl {
public:
    virtual ~RipControl() = default;
    // Starts recording the schedule's station until end (Unix time, for the user to see).
    // Returns a handle above 0, or 0 and the reason in words when no rip was started.
    virtual std::int64_t StartRip(const Schedule& schedule, std::int64_t end, std::string& reason) = 0;
    // The rip now runs until end.
    virtual void ExtendRip(std::int64_t handle, std::int64_t end) = 0;
    // The rip is still recording (not stopped by the user, not ended by itself).
    virtual bool IsRipping(std::int64_t handle) = 0;
    // Stops the rip at its end; the song in progress is closed and kept.
    virtual void StopRip(std::int64_t handle) = 0;
};

// A schedule's next window, for the tray and the list.
struct Upcoming {
    Schedule schedule;
    Window window;
};

class ScheduleRunner {
public:
    ScheduleRunner(RipControl& control, const Clock& clock);

    void SetSchedules(std::vector<Schedule> schedules);
    const std::vector<Schedule>& Schedules() const { return schedules_; }

    void Poll();

    // The earliest window of an enabled schedule that starts after now.
    std::optional<Upcoming> NextRecording() const;
    // Stations being recorded, by URL, with their ends.
    std::map<std::string, std::int64_t> ActiveEnds() const;

    // Notifications, on the polling thread; unset ones are skipped.
    std::function<void(const Schedule& schedule, std::int64_t end)> OnStarted;
    std::function<void(const std::string& title, bool atEnd)> OnEnded;  // atEnd: stopped by the runner
    std::function<void(const Schedule& schedule, const std::string& reason)> OnStartFailed;

private:
    struct Running {
        std::int64_t handle = 0;
        std::int64_t end = 0;
        std::string title;
        std::vector<Window> windows;  // the station's windows this rip has recorded
    };
    using WindowKey = std::tuple<std::string, std::int64_t, std::int64_t>;

    bool Done(const std::string& url, const Window& w) const;
    void MarkDone(const std::string& url, const std::vector<Window>& windows);

    RipControl& control_;
    const Clock& clock_;
    std::vector<Schedule> schedules_;
    std::map<std::string, Running> running_;  // by station URL
    std::set<WindowKey> done_;                 // windows not to record again
};

}  // namespace wt::schedule
