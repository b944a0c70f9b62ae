#include "ScheduleDialog.h"

#include "ScheduleEditDialog.h"
#include "ScheduleWords.h"

#include "schedule/LocalTime.h"
#include "schedule/Occurrences.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace wt::ui {

namespace {

enum Column { kStation, kWhen, kLength, kSaveTo, kNext };
const char kDeleteQuestion[] = "Delete the scheduled recording of %1?";

QPushButton* Button(const QString& text, const QString& name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setAccessibleName(name);
    return button;
}

}  // namespace

ScheduleDialog::ScheduleDialog(QWidget* parent, ScheduleDialogContext context, std::vector<schedule::Schedule> schedules)
    : QDialog(parent), context_(std::move(context)), schedules_(std::move(schedules)) {
    setWindowTitle(QStringLiteral("Scheduled Recordings"));
    resize(900, 320);
    list_ = new QTreeWidget(this);
    list_->setAccessibleName(QStringLiteral("Schedules"));
    list_->setHeaderLabels({QStringLiteral("Station"), QStringLiteral("When"), QStringLiteral("Length"),
                            QStringLiteral("Save to"), QStringLiteral("Next")});
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setAllColumnsShowFocus(true);
    const int widths[] = {150, 220, 90, 190};
    for (int i = 0; i < 4; ++i) list_->setColumnWidth(i, widths[i]);

    auto* add = Button(QStringLiteral("Add..."), QStringLiteral("Add"), this);
    edit_ = Button(QStringLiteral("Edit..."), QStringLiteral("Edit"), this);
    delete_ = Button(QStringLiteral("Delete"), QStringLiteral("Delete"), this);
    auto* close = Button(QStringLiteral("Close"), QStringLiteral("Close"), this);
    connect(add, &QPushButton::clicked, this, [this] { AddFor(nullptr); });
    connect(edit_, &QPushButton::clicked, this, &ScheduleDialog::EditSelected);
    connect(delete_, &QPushButton::clicked, this, &ScheduleDialog::DeleteSelected);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, &ScheduleDialog::EditSelected);
    connect(list_, &QTreeWidget::itemSelectionChanged, this, [this] {
        edit_->setEnabled(SelectedIndex() >= 0);
        delete_->setEnabled(SelectedIndex() >= 0);
    });
    // The on/off box of a row.
    connect(list_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
        if (filling_ || column != kStation) return;
        const int index = list_->indexOfTopLevelItem(item);
        if (index < 0) return;
        const bool on = item->checkState(kStation) == Qt::Checked;
        if (schedules_[static_cast<std::size_t>(index)].enabled == on) return;
        schedules_[static_cast<std::size_t>(index)].enabled = on;
        // Not from inside the item's own signal: filling the list again deletes the item.
        QTimer::singleShot(0, this, &ScheduleDialog::Changed);
    });

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {add, edit_, delete_}) buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    Fill();
}

void ScheduleDialog::Fill() {
    filling_ = true;
    const int selected = SelectedIndex();
    list_->clear();
    const std::int64_t now = context_.clock->UnixTime();
    for (const schedule::Schedule& s : schedules_) {
        auto* item = new QTreeWidgetItem(list_);
        item->setText(kStation, QString::fromStdString(s.title));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(kStation, s.enabled ? Qt::Checked : Qt::Unchecked);
        item->setToolTip(kStation, QString::fromStdString(s.url));
        item->setText(kWhen, WhenText(s));
        item->setText(kLength, LengthText(s));
        const QString folder = s.output == schedule::Output::GenreFolder
                                   ? QStringLiteral("Genre folder (%1)").arg(QString::fromStdString(s.genre))
                                   : QString::fromStdString(s.folder);
        item->setText(kSaveTo, folder);
        item->setToolTip(kSaveTo, folder);
        auto window = schedule::WindowEndingAfter(s, now);
        QString next = !s.enabled ? QStringLiteral("off")
                       : !window  ? QStringLiteral("over")
                       : window->Contains(now) ? QStringLiteral("now, until %1").arg(ClockTime(window->end))
                                               : DayAndTime(window->start);
        item->setText(kNext, next);
    }
    if (selected >= 0 && selected < list_->topLevelItemCount()) list_->topLevelItem(selected)->setSelected(true);
    edit_->setEnabled(SelectedIndex() >= 0);
    delete_->setEnabled(SelectedIndex() >= 0);
    filling_ = false;
}

void ScheduleDialog::Changed() {
    if (context_.apply) context_.apply(schedules_);
    Fill();
}

int ScheduleDialog::SelectedIndex() const {
    const auto selected = list_->selectedItems();
    return selected.isEmpty() ? -1 : list_->indexOfTopLevelItem(selected.front());
}

schedule::Schedule ScheduleDialog::NewSchedule(const StationRecord* station) const {
    schedule::Schedule s;
    if (station) {
        s.stationId = station->ID;
        s.url = station->URL;
        s.title = station->Title;
        s.genre = station->Genre;
    }
    // Today, at the next whole hour, for an hour.
    const std::int64_t now = context_.clock->UnixTime();
    const schedule::LocalDateTime local = schedule::ToLocal(now);
    s.date = local.date;
    s.startSecond = (local.second / 3600 + 1) % 24 * 3600;
    if (s.startSecond == 0) s.date = schedule::AddDays(s.date, 1);
    s.durationSeconds = 3600;
    s.endSecond = (s.startSecond + 3600) % schedule::kSecondsPerDay;
    return s;
}

bool ScheduleDialog::AddFor(const StationRecord* station) {
    ScheduleEditDialog edit(this, *context_.dialogs, context_.stations(), NewSchedule(station), context_.workingPath);
    if (edit.exec() != QDialog::Accepted) return false;
    schedules_.push_back(edit.Result());
    Changed();
    list_->clearSelection();
    list_->topLevelItem(list_->topLevelItemCount() - 1)->setSelected(true);
    return true;
}

void ScheduleDialog::EditSelected() {
    const int index = SelectedIndex();
    if (index < 0) return;
    auto& s = schedules_[static_cast<std::size_t>(index)];
    ScheduleEditDialog edit(this, *context_.dialogs, context_.stations(), s, context_.workingPath);
    if (edit.exec() != QDialog::Accepted) return;
    s = edit.Result();
    Changed();
}

void ScheduleDialog::DeleteSelected() {
    const int index = SelectedIndex();
    if (index < 0) return;
    const auto& s = schedules_[static_cast<std::size_t>(index)];
    if (!context_.dialogs->AskYesNo(this, MessageKind::Confirmation,
                                    QString::fromLatin1(kDeleteQuestion).arg(QString::fromStdString(s.title))))
        return;
    schedules_.erase(schedules_.begin() + index);
    Changed();
}

}  // namespace wt::ui
