#include "ScheduleWiring.h"

#include "DownloadColumns.h"
#include "MainWindow.h"
#include "NetListItem.h"
#include "ScheduleDialog.h"
#include "ScheduleWords.h"

#include "platform/StringList.h"
#include "settings/SettingNames.h"

#include <QStringList>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>

namespace wt::ui {

namespace {
constexpr int kPollMs = 500;
const char kCouldNotStart[] = "The scheduled recording of %1 could not start:\r%2";
}  // namespace

// The runner's rips are rows of the Downloading list, found by the handle they carry.
class ScheduleWiring::WindowRips : public schedule::RipControl {
public:
    explicit WindowRips(TForm1& window) : window_(window) {}

    std::int64_t StartRip(const schedule::Schedule& s, std::int64_t end, std::string& reason) override {
        // A station the user already records is left as it is.
        if (window_.Radio->IsRipping(s.url)) return 0;
        QString caption = QString::fromStdString(s.title);
        QString bitRate;
        std::string genre = s.genre;
        if (s.stationId != 0 && window_.DataSetGoto(s.stationId)) {
            const StationRecord station = window_.zDataset1->CurrentStation();
            if (station.URL == s.url) {  // the catalogue's own, perhaps renamed since
                caption = QString::fromStdString(station.Title);
                bitRate = QString::number(station.BitRate);
                genre = station.Genre;
            }
        }
        if (window_.ContainsTitle(caption)) return 0;
        const std::string folder =
            s.output == schedule::Output::GenreFolder ? window_.GenreFolder(genre) : s.folder;
        TNetListItem* row = window_.AddRipRow(caption, bitRate, s.url, s.stationId, folder, reason);
        if (!row) return 0;
        row->ScheduleHandle = ++last_;
        Show(row, end);
        return last_;
    }
    void ExtendRip(std::int64_t handle, std::int64_t end) override {
        if (TNetListItem* row = Row(handle)) Show(row, end);
    }
    bool IsRipping(std::int64_t handle) override {
        TNetListItem* row = Row(handle);
        return row && !row->Ended && !row->Failed;
    }
    void StopRip(std::int64_t handle) override {
        // The row says "Stopped" once the last song is closed, and is swept away.
        if (TNetListItem* row = Row(handle); row && window_.Radio) window_.Radio->StopRip(row->ChannelID);
    }

private:
    static void Show(TNetListItem* row, std::int64_t end) {
        row->ScheduledUntil = ScheduledUntilText(end);
        row->ShowStatus(row->Status, kStatusColumn);
    }
    TNetListItem* Row(std::int64_t handle) const {
        for (int i = 0; i < window_.TeListView1->topLevelItemCount(); ++i) {
            auto* row = static_cast<TNetListItem*>(window_.TeListView1->topLevelItem(i));
            if (row->ScheduleHandle == handle) return row;
        }
        return nullptr;
    }

    TForm1& window_;
    std::int64_t last_ = 0;
};

ScheduleWiring::ScheduleWiring(TForm1& window, const Clock& clock)
    : window_(window), clock_(clock), rips_(std::make_unique<WindowRips>(window)),
      runner_(std::make_unique<schedule::ScheduleRunner>(*rips_, clock)) {
    stored_ = schedule::ParseScheduleLines(SplitLines(window.zIniData1->ReadString(setting::kSchedules, "")));
    runner_->SetSchedules(stored_.schedules);
    if (!stored_.notes.empty()) {
        QStringList notes;
        for (const std::string& note : stored_.notes) notes << QString::fromStdString(note);
        QTimer::singleShot(0, &window, [&window, text = notes.join(QStringLiteral("\r"))] {
            window.Dialogs().ShowMessage(&window, MessageKind::Warning, text);
        });
    }
    runner_->OnStartFailed = [this](const schedule::Schedule& s, const std::string& reason) {
        if (reason.empty()) return;  // already being recorded: nothing went wrong
        window_.ReportHandlerError(QString::fromLatin1(kCouldNotStart)
                                       .arg(QString::fromStdString(s.title), QString::fromStdString(reason))
                                       .toStdString());
    };

    window.Hooks().scheduleRecordings = [this] { OpenDialog(false); };
    window.Hooks().scheduleStation = [this] { OpenDialog(true); };
    timer_ = new QTimer(this);
    timer_->setInterval(kPollMs);
    connect(timer_, &QTimer::timeout, this, &ScheduleWiring::Poll);
    KeepPolling();
}

ScheduleWiring::~ScheduleWiring() {
    window_.Hooks().scheduleRecordings = nullptr;
    window_.Hooks().scheduleStation = nullptr;
}

void ScheduleWiring::Poll() {
    // Before the window's creation (no manager, no output folder yet) and after its close
    // question nothing can be recorded.
    if (window_.Radio && !window_.WorkingPath.empty() && !window_.Terminating()) runner_->Poll();
    ShowInTray();
    KeepPolling();
}

void ScheduleWiring::KeepPolling() {
    // With no schedule switched on and no scheduled rip running there is nothing to start or
    // stop: the idle window is not woken twice a second for it.
    bool needed = !runner_->ActiveEnds().empty();
    for (const auto& s : runner_->Schedules()) needed = needed || s.enabled;
    if (needed && !timer_->isActive()) timer_->start();
    if (!needed) timer_->stop();
}

void ScheduleWiring::Apply(const std::vector<schedule::Schedule>& schedules) {
    stored_.schedules = schedules;
    window_.zIniData1->WriteStrings(setting::kSchedules, schedule::FormatScheduleLines(stored_));
    runner_->SetSchedules(schedules);
    Poll();
}

void ScheduleWiring::OpenDialog(bool forSelectedStation) {
    std::optional<StationRecord> station;
    if (forSelectedStation) {
        TNetListItem* row = window_.SelectedBrowseRow();
        if (!row || !window_.DataSetGoto(row->StationID)) return;
        station = window_.zDataset1->CurrentStation();
    }
    ScheduleDialogContext context;
    context.dialogs = &window_.Dialogs();
    context.clock = &clock_;
    context.workingPath = window_.WorkingPath;
    context.stations = [this] {
        std::vector<StationRecord> stations;
        window_.zDataset1->ForEachStation([&](const StationRecord& s) { stations.push_back(s); });
        std::stable_sort(stations.begin(), stations.end(), [](const StationRecord& a, const StationRecord& b) {
            return CompareIgnoreCase(a.Title, b.Title) < 0;
        });
        return stations;
    };
    context.apply = [this](const std::vector<schedule::Schedule>& schedules) { Apply(schedules); };
    ScheduleDialog dialog(&window_, context, stored_.schedules);
    if (station) QTimer::singleShot(0, &dialog, [&dialog, &station] { dialog.AddFor(&*station); });
    dialog.exec();
}

void ScheduleWiring::ShowInTray() {
    QStringList lines{QString::fromLatin1(kWindowCaption)};
    for (const auto& [url, end] : runner_->ActiveEnds()) {
        for (const auto& s : runner_->Schedules())
            if (s.url == url) {
                lines << QStringLiteral("Recording %1 until %2").arg(QString::fromStdString(s.title), ClockTime(end));
                break;
            }
    }
    if (auto next = runner_->NextRecording())
        lines << QStringLiteral("Next recording: %1, %2")
                     .arg(QString::fromStdString(next->schedule.title), DayAndTime(next->window.start));
    const QString text = lines.join(QLatin1Char('\n'));
    if (window_.Tray->toolTip() != text) window_.Tray->setToolTip(text);
}

}  // namespace wt::ui
