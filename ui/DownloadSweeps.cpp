#include "DownloadSweeps.h"

namespace wt::ui {

bool IsFailureStatus(const std::string& status) {
    static const char* const kNormal[] = {"", "Connecting...", "Connected", "Ripping",
                                          "Reconnecting...", kStatusStopped};
    for (const char* normal : kNormal)
        if (status == normal) return false;
    return true;
}

bool IsFinishedRow(const DownloadRowState& row) {
    if (row.failed) return false;
    return row.status == kStatusStopped || !row.hasChannel || row.ended;
}

bool IsSilentRow(const DownloadRowState& row, std::uint32_t nowTick) {
    // Only a rip that receives audio can be waiting for a title; connecting and reconnecting
    // have limits of their own.
    if (!row.hasChannel || row.ended || row.failed) return false;
    if (row.status != "Connected" && row.status != "Ripping") return false;
    // The tick count wraps at 2^32; the signed difference stays right across the wrap.
    auto elapsed = static_cast<std::int32_t>(nowTick - row.startTick);
    return elapsed > kSilentRowMs && row.songName.empty();
}

int SweepFinishedRows(DownloadRowList& rows) {
    int removed = 0;
    for (int i = 0; i < rows.RowCount();) {
        if (IsFinishedRow(rows.Row(i))) {
            rows.StopAndRemove(i);  // the next row moves into place i
            ++removed;
        } else {
            ++i;
        }
    }
    return removed;
}

int SweepSilentRows(DownloadRowList& rows, std::uint32_t nowTick) {
    int stopped = 0;
    for (int i = 0; i < rows.RowCount(); ++i) {
        if (IsSilentRow(rows.Row(i), nowTick)) {
            rows.TerminateWithReason(i, kStatusSilent);
            ++stopped;
        }
    }
    return stopped;
}

int NextNowPlayingLeft(int left, int width, int step) {
    return left >= -width ? left - step : width + 10;
}

}  // namespace wt::ui
