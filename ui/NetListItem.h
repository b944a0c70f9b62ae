#pragma once
// A row of the Browse and Downloading lists: the list item with the station's stream URL and
// catalogue ID, and for a rip its channel, channel id and start tick.
//
// Channel is owned by the ripping manager. A row holds it from the start of its rip until the
// channel reports its end; then Channel is cleared and ChannelID set to 0, so a later rip that
// is handed the same id never shows up in this row.
#include <QTreeWidgetItem>

#include <cstdint>
#include <string>

namespace wt {
class TNetRadioChannel;
}

namespace wt::ui {

class TNetListItem : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;

    std::string URL;
    std::int32_t ChannelID = 0;
    std::int32_t StationID = 0;
    std::uint32_t StartTick = 0;
    TNetRadioChannel* Channel = nullptr;
    bool Started = false;  // a rip was started for the row
    bool Ended = false;    // its channel has reported its end
    bool Failed = false;   // the status column shows why the rip failed
    QString Status;        // the rip's own status, without the schedule's end beside it
    QString ScheduledUntil;        // "Scheduled until HH:MM" for a scheduled rip, else empty
    std::int64_t ScheduleHandle = 0;  // the schedule runner's name for the rip, 0 for none

    bool HasChannel() const { return Channel != nullptr; }
    // Shows status in the Status column (and its tooltip), with the schedule's end beside it.
    void ShowStatus(const QString& status, int column) {
        Status = status;
        const QString text = ScheduledUntil.isEmpty() ? status
                             : status.isEmpty()       ? ScheduledUntil
                                                      : status + QStringLiteral(" \u00b7 ") + ScheduledUntil;
        setText(column, text);
        setToolTip(column, text);
    }
};

}  // namespace wt::ui
