// The runner over a simulated week: rips start and stop at their local times across the night
// the clocks go forward, overlapping schedules of one station make one rip, a program started
// inside a window records the rest, and a rip stopped by hand stays stopped until the next one.
#include "BerlinTime.h"

#include "schedule/ScheduleRunner.h"

#include <map>
#include <string>
#include <vector>

namespace wt::schedule::test {
namespace {

// The host's rips, as a log of what the runner asked for.
class LoggedRips : public RipControl {
public:
    explicit LoggedRips(const ManualClock& clock) : clock_(clock) {}

    std::int64_t StartRip(const Schedule& s, std::int64_t end, std::string& reason) override {
        if (refuse) {
            reason = "You have reached the rip limit Wave Trap can support.";
            Log("refused " + s.title);
            return 0;
        }
        ripping_[++last_] = s.title;
        Log("start " + s.title + " until " + BerlinTime::Local(end).substr(11));
        return last_;
    }
    void ExtendRip(std::int64_t handle, std::int64_t end) override {
        Log("extend " + ripping_[handle] + " until " + BerlinTime::Local(end).substr(11));
    }
    bool IsRipping(std::int64_t handle) override { return ripping_.count(handle) > 0; }
    void StopRip(std::int64_t handle) override {
        Log("stop " + ripping_[handle]);
        ripping_.erase(handle);
    }
    // The user's Stop ripping.
    void StopByHand(const std::string& title) {
        for (auto it = ripping_.begin(); it != ripping_.end(); ++it)
            if (it->second == title) {
                ripping_.erase(it);
                return;
            }
        ADD_FAILURE() << title << " is not ripping";
    }

    std::vector<std::string> log;
    bool refuse = false;

private:
    void Log(const std::string& what) { log.push_back(BerlinTime::Local(clock_.UnixTime()) + " " + what); }
    const ManualClock& clock_;
    std::map<std::int64_t, std::string> ripping_;
    std::int64_t last_ = 0;
};

constexpr int H = 3600;

Schedule Show(const std::string& title, const std::string& url, LocalDate date, int start, Repeat repeat) {
    Schedule s;
    s.title = title;
    s.url = url;
    s.date = date;
    s.startSecond = start;
    s.repeat = repeat;
    return s;
}

class Runner : public BerlinTime {
protected:
    // Polls every 10 seconds of simulated time until the local time `to`.
    void RunUntil(std::int64_t to) {
        while (clock.UnixTime() < to) {
            clock.Advance(10 * 1000);
            runner.Poll();
        }
    }
    void StartAt(std::int64_t t) {
        clock.SetUnixTime(t);
        runner.Poll();
    }

    ManualClock clock;
    LoggedRips rips{clock};
    ScheduleRunner runner{rips, clock};
};

TEST_F(Runner, AWeekOfSchedulesAcrossTheNightTheClocksGoForward) {
    // Friday 27 March to Friday 3 April 2026; summer time starts on Sunday the 29th.
    Schedule weekly = Show("Jazz FM", "http://jazz", {2026, 3, 1}, 20 * H, Repeat::Weekdays);
    weekly.weekdays = 1 << 4 | 1 << 6;  // Fri, Sun
    weekly.durationSeconds = 2 * H;
    Schedule special = Show("Jazz FM special", "http://jazz", {2026, 3, 27}, 21 * H, Repeat::Once);
    special.length = Length::Until;
    special.endSecond = 23 * H;
    Schedule night = Show("Night Talk", "http://talk", {2026, 3, 28}, 1 * H + 1800, Repeat::Daily);
    night.durationSeconds = 2 * H;
    Schedule off = night;
    off.title = "Switched off";
    off.url = "http://off";
    off.enabled = false;
    runner.SetSchedules({weekly, special, night, off});

    StartAt(At(2026, 3, 27, 12, 0));
    EXPECT_EQ(Local(runner.NextRecording()->window.start), "2026-03-27 20:00:00");
    RunUntil(At(2026, 4, 3, 12, 0));
    const std::vector<std::string> expected = {
        "2026-03-27 20:00:00 start Jazz FM until 22:00:00",
        "2026-03-27 21:00:00 extend Jazz FM until 23:00:00",  // the special overlaps: one rip
        "2026-03-27 23:00:00 stop Jazz FM",
        "2026-03-28 01:30:00 start Night Talk until 03:30:00",
        "2026-03-28 03:30:00 stop Night Talk",
        "2026-03-29 01:30:00 start Night Talk until 04:30:00",  // two real hours over the jump
        "2026-03-29 04:30:00 stop Night Talk",
        "2026-03-29 20:00:00 start Jazz FM until 22:00:00",
        "2026-03-29 22:00:00 stop Jazz FM",
        "2026-03-30 01:30:00 start Night Talk until 03:30:00",
        "2026-03-30 03:30:00 stop Night Talk",
        "2026-03-31 01:30:00 start Night Talk until 03:30:00",
        "2026-03-31 03:30:00 stop Night Talk",
        "2026-04-01 01:30:00 start Night Talk until 03:30:00",
        "2026-04-01 03:30:00 stop Night Talk",
        "2026-04-02 01:30:00 start Night Talk until 03:30:00",
        "2026-04-02 03:30:00 stop Night Talk",
        "2026-04-03 01:30:00 start Night Talk until 03:30:00",
        "2026-04-03 03:30:00 stop Night Talk",
    };
    EXPECT_EQ(rips.log, expected);
    EXPECT_EQ(Local(runner.NextRecording()->window.start), "2026-04-03 20:00:00");
    EXPECT_EQ(runner.NextRecording()->schedule.title, "Jazz FM");
}

TEST_F(Runner, TwoSchedulesOfOneStationMakeOneRipToTheLaterEndWhicheverEndsFirst) {
    Schedule longer = Show("A", "http://same", {2026, 5, 8}, 20 * H, Repeat::Once);
    longer.durationSeconds = 3 * H;
    Schedule inside = Show("B", "http://same", {2026, 5, 8}, 21 * H, Repeat::Once);
    Schedule follows = Show("C", "http://same", {2026, 5, 8}, 23 * H, Repeat::Once);  // starts as A ends
    Schedule other = Show("D", "http://other", {2026, 5, 8}, 21 * H, Repeat::Once);
    runner.SetSchedules({longer, inside, follows, other});
    StartAt(At(2026, 5, 8, 19, 0));
    RunUntil(At(2026, 5, 9, 2, 0));
    EXPECT_EQ(rips.log, (std::vector<std::string>{
                            "2026-05-08 20:00:00 start A until 23:00:00",
                            "2026-05-08 21:00:00 start D until 22:00:00",
                            "2026-05-08 22:00:00 stop D",
                            "2026-05-08 23:00:00 extend A until 00:00:00",
                            "2026-05-09 00:00:00 stop A",
                        }));
}

TEST_F(Runner, StartedInsideAWindowItRecordsTheRest) {
    Schedule show = Show("Jazz FM", "http://jazz", {2026, 5, 8}, 20 * H, Repeat::Daily);
    show.durationSeconds = 2 * H;
    runner.SetSchedules({show});
    StartAt(At(2026, 5, 8, 21, 15));
    RunUntil(At(2026, 5, 8, 23, 0));
    EXPECT_EQ(rips.log, (std::vector<std::string>{"2026-05-08 21:15:00 start Jazz FM until 22:00:00",
                                                  "2026-05-08 22:00:00 stop Jazz FM"}));
}

TEST_F(Runner, ARipStoppedByHandWaitsForTheNextWindow) {
    Schedule show = Show("Jazz FM", "http://jazz", {2026, 5, 8}, 20 * H, Repeat::Daily);
    show.durationSeconds = 2 * H;
    runner.SetSchedules({show});
    std::vector<std::string> ended;
    runner.OnEnded = [&](const std::string& title, bool atEnd) { ended.push_back(title + (atEnd ? " at end" : " early")); };
    StartAt(At(2026, 5, 8, 19, 0));
    RunUntil(At(2026, 5, 8, 20, 30));
    rips.StopByHand("Jazz FM");
    RunUntil(At(2026, 5, 9, 23, 0));
    EXPECT_EQ(rips.log, (std::vector<std::string>{"2026-05-08 20:00:00 start Jazz FM until 22:00:00",
                                                  "2026-05-09 20:00:00 start Jazz FM until 22:00:00",
                                                  "2026-05-09 22:00:00 stop Jazz FM"}));
    EXPECT_EQ(ended, (std::vector<std::string>{"Jazz FM early", "Jazz FM at end"}));
}

TEST_F(Runner, ARefusedStartIsReportedOnceAndTheNextWindowTriesAgain) {
    Schedule show = Show("Jazz FM", "http://jazz", {2026, 5, 8}, 20 * H, Repeat::Daily);
    runner.SetSchedules({show});
    std::vector<std::string> failures;
    runner.OnStartFailed = [&](const Schedule& s, const std::string& reason) { failures.push_back(s.title + ": " + reason); };
    rips.refuse = true;
    StartAt(At(2026, 5, 8, 19, 59));
    RunUntil(At(2026, 5, 8, 21, 30));
    rips.refuse = false;
    RunUntil(At(2026, 5, 9, 20, 30));
    EXPECT_EQ(rips.log, (std::vector<std::string>{"2026-05-08 20:00:00 refused Jazz FM",
                                                  "2026-05-09 20:00:00 start Jazz FM until 21:00:00"}));
    EXPECT_EQ(failures, std::vector<std::string>{"Jazz FM: You have reached the rip limit Wave Trap can support."});
}

TEST_F(Runner, SwitchingOffOrDeletingARunningScheduleStopsItsRip) {
    Schedule show = Show("Jazz FM", "http://jazz", {2026, 5, 8}, 20 * H, Repeat::Daily);
    runner.SetSchedules({show});
    StartAt(At(2026, 5, 8, 20, 10));
    show.enabled = false;
    runner.SetSchedules({show});
    clock.Advance(1000);
    runner.Poll();
    EXPECT_FALSE(runner.NextRecording()) << "an off schedule is not next";
    show.enabled = true;  // on again: the rest of the window is recorded
    runner.SetSchedules({show});
    StartAt(At(2026, 5, 8, 20, 30));
    runner.SetSchedules({});
    StartAt(At(2026, 5, 8, 20, 31));
    EXPECT_EQ(rips.log, (std::vector<std::string>{"2026-05-08 20:10:00 start Jazz FM until 21:00:00",
                                                  "2026-05-08 20:10:01 stop Jazz FM",
                                                  "2026-05-08 20:30:00 start Jazz FM until 21:00:00",
                                                  "2026-05-08 20:31:00 stop Jazz FM"}));
}

}  // namespace
}  // namespace wt::schedule::test
