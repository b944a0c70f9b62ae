#pragma once
// "Scheduled Recordings": every schedule with an on/off box, its station, when it records, for
// how long, where to and when next; Add, Edit, Delete and Close. Every change is handed to
// apply at once (stored and followed by the runner), so a schedule added here records even
// while the dialog is still open.
#include "UserDialogs.h"

#include "catalogue/StationCatalogue.h"
#include "platform/Clock.h"
#include "schedule/Schedule.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QPushButton;
class QTreeWidget;

namespace wt::ui {

struct ScheduleDialogContext {
    UserDialogs* dialogs = nullptr;
    const Clock* clock = nullptr;
    std::function<std::vector<StationRecord>()> stations;  // the catalogue, for the edit dialog
    std::string workingPath;
    std::function<void(const std::vector<schedule::Schedule>&)> apply;
};

class ScheduleDialog : public QDialog {
public:
    ScheduleDialog(QWidget* parent, ScheduleDialogContext context, std::vector<schedule::Schedule> schedules);

    // Opens the edit dialog for a new schedule of station (the list's Add, or the station's
    // "Schedule recording..."); true when the user added it.
    bool AddFor(const StationRecord* station);
    const std::vector<schedule::Schedule>& Schedules() const { return schedules_; }
    QTreeWidget* List() const { return list_; }

private:
    void Fill();
    void Changed();
    void EditSelected();
    void DeleteSelected();
    int SelectedIndex() const;
    schedule::Schedule NewSchedule(const StationRecord* station) const;

    ScheduleDialogContext context_;
    std::vector<schedule::Schedule> schedules_;
    QTreeWidget* list_ = nullptr;
    QPushButton* edit_ = nullptr;
    QPushButton* delete_ = nullptr;
    bool filling_ = false;
};

}  // namespace wt::ui
