#include "ScheduleEditDialog.h"

#include "platform/FileNames.h"
#include "schedule/ScheduleText.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace wt::ui {

namespace {

const char kChooseStation[] = "Choose the station to record from the list.";
const char kChooseDay[] = "Choose at least one day of the week.";
const char kChooseFolder[] = "Choose the folder to record into.";

template <typename W>
W* Named(W* widget, const QString& name) {
    widget->setAccessibleName(name);
    return widget;
}

QHBoxLayout* Row(std::initializer_list<QWidget*> widgets) {
    auto* row = new QHBoxLayout;
    for (QWidget* w : widgets) row->addWidget(w);
    row->addStretch();
    return row;
}

QTime TimeOf(int second) { return QTime(second / 3600, second / 60 % 60, second % 60); }
int SecondOf(const QTime& time) { return time.hour() * 3600 + time.minute() * 60 + time.second(); }

}  // namespace

ScheduleEditDialog::ScheduleEditDialog(QWidget* parent, UserDialogs& dialogs, std::vector<StationRecord> stations,
                                       const schedule::Schedule& initial, const std::string& workingPath)
    : QDialog(parent), dialogs_(dialogs), stations_(std::move(stations)), workingPath_(workingPath),
      result_(initial) {
    setWindowTitle(QStringLiteral("Schedule Recording"));
    // A station no longer in the catalogue stays choosable for its own schedule.
    const bool known = std::any_of(stations_.begin(), stations_.end(),
                                   [&](const StationRecord& s) { return s.URL == initial.url; });
    if (!initial.url.empty() && !known)
        stations_.push_back({initial.stationId, initial.genre, initial.title, 0, initial.url});

    station_ = Named(new QComboBox(this), QStringLiteral("Station"));
    station_->setEditable(true);
    station_->setInsertPolicy(QComboBox::NoInsert);
    station_->setMinimumWidth(320);
    for (std::size_t i = 0; i < stations_.size(); ++i) {
        station_->addItem(QString::fromStdString(stations_[i].Title), static_cast<int>(i));
        station_->setItemData(static_cast<int>(i), QString::fromStdString(stations_[i].Genre), Qt::ToolTipRole);
    }
    station_->completer()->setFilterMode(Qt::MatchContains);
    station_->completer()->setCompletionMode(QCompleter::PopupCompletion);
    station_->setCurrentIndex(-1);
    for (std::size_t i = 0; i < stations_.size(); ++i)
        if (!initial.url.empty() && stations_[i].URL == initial.url) station_->setCurrentIndex(static_cast<int>(i));

    date_ = Named(new QDateEdit(QDate(initial.date.year, initial.date.month, initial.date.day), this),
                  QStringLiteral("First day"));
    date_->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    date_->setCalendarPopup(true);
    start_ = Named(new QTimeEdit(TimeOf(initial.startSecond), this), QStringLiteral("Start time"));
    start_->setDisplayFormat(QStringLiteral("HH:mm:ss"));

    forMinutes_ = Named(new QRadioButton(QStringLiteral("For"), this), QStringLiteral("For"));
    minutes_ = Named(new QSpinBox(this), QStringLiteral("Minutes"));
    minutes_->setRange(1, schedule::kSecondsPerDay / 60);
    minutes_->setSuffix(QStringLiteral(" min"));
    minutes_->setValue(std::max(1, initial.durationSeconds / 60));
    until_ = Named(new QRadioButton(QStringLiteral("Until"), this), QStringLiteral("Until"));
    end_ = Named(new QTimeEdit(TimeOf(initial.endSecond), this), QStringLiteral("End time"));
    end_->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    (initial.length == schedule::Length::Until ? until_ : forMinutes_)->setChecked(true);
    auto* lengthGroup = new QButtonGroup(this);
    lengthGroup->addButton(forMinutes_);
    lengthGroup->addButton(until_);

    once_ = Named(new QRadioButton(QStringLiteral("Once"), this), QStringLiteral("Once"));
    daily_ = Named(new QRadioButton(QStringLiteral("Daily"), this), QStringLiteral("Daily"));
    onDays_ = Named(new QRadioButton(QStringLiteral("On these days:"), this), QStringLiteral("On these days"));
    auto* repeatGroup = new QButtonGroup(this);
    for (QRadioButton* b : {once_, daily_, onDays_}) repeatGroup->addButton(b);
    (initial.repeat == schedule::Repeat::Once    ? once_
     : initial.repeat == schedule::Repeat::Daily ? daily_
                                                 : onDays_)
        ->setChecked(true);
    auto* dayRow = new QHBoxLayout;
    for (int i = 0; i < 7; ++i) {
        const QString name = QLatin1String(schedule::kWeekdayNames[i]);
        days_[i] = Named(new QCheckBox(name, this), name);
        days_[i]->setChecked((initial.weekdays >> i) & 1);
        dayRow->addWidget(days_[i]);
    }
    dayRow->addStretch();

    genreFolder_ = Named(new QRadioButton(this), QStringLiteral("The station's genre folder"));
    otherFolder_ = Named(new QRadioButton(QStringLiteral("Another folder:"), this), QStringLiteral("Another folder"));
    auto* outputGroup = new QButtonGroup(this);
    outputGroup->addButton(genreFolder_);
    outputGroup->addButton(otherFolder_);
    (initial.output == schedule::Output::OtherFolder ? otherFolder_ : genreFolder_)->setChecked(true);
    folder_ = Named(new QLineEdit(QString::fromStdString(initial.folder), this), QStringLiteral("Folder"));
    folder_->setMinimumWidth(260);
    auto* browse = Named(new QPushButton(QStringLiteral("Browse..."), this), QStringLiteral("Browse"));
    browse_ = browse;
    connect(browse, &QPushButton::clicked, this, [this] {
        if (auto chosen = dialogs_.ChooseFolder(this, QStringLiteral("Record into"), QStringLiteral("Folder:")))
            folder_->setText(*chosen);
    });

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Station:"), station_);
    form->addRow(QStringLiteral("First day:"), date_);
    form->addRow(QStringLiteral("Start:"), start_);
    auto* length = new QVBoxLayout;
    length->addLayout(Row({forMinutes_, minutes_}));
    length->addLayout(Row({until_, end_}));
    form->addRow(QStringLiteral("Length:"), length);
    auto* repeat = new QVBoxLayout;
    repeat->addLayout(Row({once_, daily_, onDays_}));
    repeat->addLayout(dayRow);
    form->addRow(QStringLiteral("Repeat:"), repeat);
    auto* output = new QVBoxLayout;
    output->addWidget(genreFolder_);
    output->addLayout(Row({otherFolder_, folder_, browse}));
    form->addRow(QStringLiteral("Save to:"), output);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setAccessibleName(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(QStringLiteral("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    connect(station_, &QComboBox::currentIndexChanged, this, &ScheduleEditDialog::ShowGenreFolder);
    for (QRadioButton* b : {forMinutes_, until_, once_, daily_, onDays_, genreFolder_, otherFolder_})
        connect(b, &QRadioButton::toggled, this, &ScheduleEditDialog::FollowChoices);
    ShowGenreFolder();
    FollowChoices();
}

int ScheduleEditDialog::ChosenStation() const {
    const int index = station_->findText(station_->currentText().trimmed(), Qt::MatchFixedString);
    return index < 0 ? -1 : station_->itemData(index).toInt();
}

void ScheduleEditDialog::ShowGenreFolder() {
    const int chosen = ChosenStation();
    QString text = QStringLiteral("The station's genre folder");
    if (chosen >= 0)
        text += QStringLiteral(" (%1)").arg(QString::fromStdString(
            workingPath_ + SanitizeFileName(stations_[static_cast<std::size_t>(chosen)].Genre)));
    genreFolder_->setText(text);
}

void ScheduleEditDialog::FollowChoices() {
    minutes_->setEnabled(forMinutes_->isChecked());
    end_->setEnabled(until_->isChecked());
    for (QCheckBox* day : days_) day->setEnabled(onDays_->isChecked());
    folder_->setEnabled(otherFolder_->isChecked());
    browse_->setEnabled(otherFolder_->isChecked());
}

void ScheduleEditDialog::accept() {
    const int chosen = ChosenStation();
    if (chosen < 0) {
        dialogs_.ShowMessage(this, MessageKind::Warning, QString::fromLatin1(kChooseStation));
        return;
    }
    schedule::Schedule s = result_;
    const StationRecord& station = stations_[static_cast<std::size_t>(chosen)];
    s.stationId = station.ID;
    s.url = station.URL;
    s.title = station.Title;
    s.genre = station.Genre;
    const QDate day = date_->date();
    s.date = {day.year(), day.month(), day.day()};
    s.startSecond = SecondOf(start_->time());
    s.length = until_->isChecked() ? schedule::Length::Until : schedule::Length::Duration;
    s.durationSeconds = minutes_->value() * 60;
    s.endSecond = SecondOf(end_->time());
    s.repeat = once_->isChecked() ? schedule::Repeat::Once
               : daily_->isChecked() ? schedule::Repeat::Daily
                                     : schedule::Repeat::Weekdays;
    s.weekdays = 0;
    for (int i = 0; i < 7; ++i)
        if (days_[i]->isChecked()) s.weekdays |= static_cast<std::uint8_t>(1 << i);
    if (s.repeat != schedule::Repeat::Weekdays) s.weekdays = 0;
    if (s.repeat == schedule::Repeat::Weekdays && s.weekdays == 0) {
        dialogs_.ShowMessage(this, MessageKind::Warning, QString::fromLatin1(kChooseDay));
        return;
    }
    s.output = otherFolder_->isChecked() ? schedule::Output::OtherFolder : schedule::Output::GenreFolder;
    s.folder = folder_->text().trimmed().toStdString();
    if (s.output == schedule::Output::OtherFolder) {
        if (s.folder.empty()) {
            dialogs_.ShowMessage(this, MessageKind::Warning, QString::fromLatin1(kChooseFolder));
            return;
        }
        if (s.folder.back() != '/') s.folder += '/';
    } else {
        s.folder.clear();
    }
    result_ = s;
    QDialog::accept();
}

}  // namespace wt::ui
