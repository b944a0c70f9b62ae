#pragma once
// Connects the scheduled recordings to the main window: the stored schedules are read at
// start-up (a damaged line is skipped and named in one note), the "Schedule Recordings" button
// and the station's "Schedule recording..." open the Schedule dialog, and a timer on the GUI
// thread polls the runner twice a second, which starts rips through the window's own rip path
// (a Downloading row showing "Scheduled until HH:MM" beside its status) whether the window is
// shown or in the tray. The tray icon's tooltip names the next scheduled recording.
//
// The window must outlive this object; the timer is this object's and stops with it.
#include "schedule/ScheduleRunner.h"
#include "schedule/ScheduleText.h"

#include "platform/Clock.h"

#include <QObject>

#include <memory>

class QTimer;

namespace wt::ui {

class TForm1;

class ScheduleWiring : public QObject {
public:
    explicit ScheduleWiring(TForm1& window, const Clock& clock = SystemClock::Instance());
    ~ScheduleWiring() override;

    schedule::ScheduleRunner& Runner() { return *runner_; }
    void Poll();

private:
    class WindowRips;
    void Apply(const std::vector<schedule::Schedule>& schedules);
    // Runs the poll timer only while a schedule is on or a scheduled rip runs.
    void KeepPolling();
    void OpenDialog(bool forSelectedStation);
    void ShowInTray();

    TForm1& window_;
    const Clock& clock_;
    std::unique_ptr<WindowRips> rips_;
    std::unique_ptr<schedule::ScheduleRunner> runner_;
    schedule::ScheduleList stored_;
    QTimer* timer_ = nullptr;
};

}  // namespace wt::ui
