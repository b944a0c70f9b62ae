#pragma once
// "Schedule Recording": one schedule's station, first day, start time, length (minutes, or an
// end time), repeat (once, daily, chosen weekdays) and output folder (the station's genre
// folder or another). OK refuses a schedule it could not record, saying why.
#include "UserDialogs.h"

#include "catalogue/StationCatalogue.h"
#include "schedule/Schedule.h"

#include <QDialog>

#include <array>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QTimeEdit;

namespace wt::ui {

class ScheduleEditDialog : public QDialog {
public:
    // stations: the catalogue's, to choose from; initial: the schedule to edit, or a new one
    // (its station, when it has one, is chosen). workingPath names the genre folders.
    ScheduleEditDialog(QWidget* parent, UserDialogs& dialogs, std::vector<StationRecord> stations,
                       const schedule::Schedule& initial, const std::string& workingPath);

    schedule::Schedule Result() const { return result_; }

    void accept() override;

private:
    void ShowGenreFolder();
    void FollowChoices();
    // The station chosen in the box, or -1.
    int ChosenStation() const;

    UserDialogs& dialogs_;
    std::vector<StationRecord> stations_;
    std::string workingPath_;
    schedule::Schedule result_;

    QComboBox* station_ = nullptr;
    QDateEdit* date_ = nullptr;
    QTimeEdit* start_ = nullptr;
    QRadioButton* forMinutes_ = nullptr;
    QSpinBox* minutes_ = nullptr;
    QRadioButton* until_ = nullptr;
    QTimeEdit* end_ = nullptr;
    QRadioButton* once_ = nullptr;
    QRadioButton* daily_ = nullptr;
    QRadioButton* onDays_ = nullptr;
    std::array<QCheckBox*, 7> days_{};
    QRadioButton* genreFolder_ = nullptr;
    QRadioButton* otherFolder_ = nullptr;
    QLineEdit* folder_ = nullptr;
    QWidget* browse_ = nullptr;
};

}  // namespace wt::ui
