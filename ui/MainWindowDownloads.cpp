// The Downloading list: its rows, what the manager's notifications show in them, the ripped
// songs counters and the two one-second sweeps.
#include "DownloadColumns.h"
#include "DownloadSweeps.h"
#include "MainWindow.h"
#include "settings/SettingNames.h"
#include "NetListItem.h"

#include "platform/TextEncoding.h"

#include <QLabel>
#include <QTreeWidget>

namespace wt::ui {

namespace {

QString Text(const std::string& bytes) { return QString::fromStdString(DecodeText(bytes)); }

TNetListItem* RowAt(QTreeWidget* list, int index) {
    return static_cast<TNetListItem*>(list->topLevelItem(index));
}

}  // namespace

TNetListItem* TForm1::GetListItem(std::int32_t id) const {
    for (int i = 0; i < TeListView1->topLevelItemCount(); ++i) {
        TNetListItem* row = RowAt(TeListView1, i);
        if (row->ChannelID == id) return row;
    }
    return nullptr;
}

bool TForm1::ContainsTitle(const QString& caption) const {
    for (int i = 0; i < TeListView1->topLevelItemCount(); ++i)
        if (TeListView1->topLevelItem(i)->text(0) == caption) return true;
    return false;
}

namespace {
// The selected rows in list order; the current row counts only when it is selected.
std::vector<TNetListItem*> SelectedRowsOf(QTreeWidget* list) {
    std::vector<TNetListItem*> rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (list->topLevelItem(i)->isSelected()) rows.push_back(RowAt(list, i));
    return rows;
}
}  // namespace

std::vector<TNetListItem*> TForm1::SelectedBrowseRows() const { return SelectedRowsOf(BrowseList); }

std::vector<TNetListItem*> TForm1::SelectedDownloadRows() const {
    return SelectedRowsOf(TeListView1);
}

TNetListItem* TForm1::SelectedBrowseRow() const {
    auto rows = SelectedBrowseRows();
    return rows.empty() ? nullptr : rows.front();
}

TNetListItem* TForm1::SelectedDownloadRow() const {
    auto rows = SelectedDownloadRows();
    return rows.empty() ? nullptr : rows.front();
}

void TForm1::ShowRipStatus(std::int32_t id, const std::string& status) {
    TNetListItem* row = GetListItem(id);
    if (!row) return;
    // A failure's reason stays in view; the "Stopped" that follows it adds nothing.
    if (row->Failed && status == kStatusStopped) return;
    row->Failed = IsFailureStatus(status);
    row->ShowStatus(Text(status), kStatusColumn);
}

void TForm1::AddToRippedCount(const char* setting, QLabel* label) {
    std::int32_t count = zIniData1->ReadInteger(setting, 0) + 1;
    zIniData1->WriteInteger(setting, count);
    label->setText(QString::number(count));
}

void TForm1::ShowRipSong(std::int32_t id, int songCount, bool wishChannel, const std::string& title) {
    // A rip's first title counts nothing; each later one counts the song that has just ended.
    if (songCount > 0) {
        AddToRippedCount(setting::kRippedSongs, lTotalRippedSongs);
        if (wishChannel) AddToRippedCount(setting::kRippedWishedSongs, lTotalRippedWishedSongs);
    }
    if (TNetListItem* row = GetListItem(id)) {
        row->setText(kRippedColumn, QString::number(songCount));
        row->setText(kSongColumn, Text(title));
        row->setToolTip(kSongColumn, Text(title));
    }
}

void TForm1::ShowRipProgress(std::int32_t id, std::int32_t kb) {
    if (TNetListItem* row = GetListItem(id))
        row->setText(kKbColumn, QString::number(kb) + QStringLiteral(" KB"));
}

namespace {

// The sweeps' view of the Downloading list.
class DownloadListRows : public DownloadRowList {
public:
    DownloadListRows(QTreeWidget* list, std::function<void(TNetListItem*)> stopRip,
                     std::function<void(TNetListItem*)> terminate)
        : list_(list), stopRip_(std::move(stopRip)), terminate_(std::move(terminate)) {}

    int RowCount() const override { return list_->topLevelItemCount(); }
    DownloadRowState Row(int index) const override {
        TNetListItem* row = RowAt(list_, index);
        DownloadRowState state{row->Status.toStdString(),
                               row->text(kSongColumn).toStdString(), row->Started, row->StartTick};
        state.ended = row->Ended;
        state.failed = row->Failed;
        return state;
    }
    void StopAndRemove(int index) override {
        TNetListItem* row = RowAt(list_, index);
        try {
            stopRip_(row);
        } catch (...) {
            // The row goes whatever the manager says about its channel.
        }
        delete row;
    }
    void TerminateWithReason(int index, const std::string& reason) override {
        TNetListItem* row = RowAt(list_, index);
        try {
            terminate_(row);
        } catch (...) {
            // The reason is shown whatever the channel says.
        }
        row->Failed = true;
        row->ShowStatus(QString::fromStdString(reason), kStatusColumn);
    }

private:
    QTreeWidget* list_;
    std::function<void(TNetListItem*)> stopRip_;
    std::function<void(TNetListItem*)> terminate_;
};

}  // namespace

void TForm1::Timer1Timer() {
    if (TeListView1->topLevelItemCount() == 0) return;
    DownloadListRows rows(TeListView1, [this](TNetListItem* row) { StopRipOf(row); },
                          [this](TNetListItem* row) { TerminateRipOf(row); });
    SweepFinishedRows(rows);
}

void TForm1::Timer3Timer() {
    if (TeListView1->topLevelItemCount() == 0) return;
    DownloadListRows rows(TeListView1, [this](TNetListItem* row) { StopRipOf(row); },
                          [this](TNetListItem* row) { TerminateRipOf(row); });
    SweepSilentRows(rows, clock_->TickCount());
}

}  // namespace wt::ui
