#include "DownloadSweeps.h"

namespace wt::ui {

bool IsFinishedRow(const DownloadRowState& row) {
    return row.status == kStatusStopped || !row.hasChannel;
}

bool IsSilentRow(const DownloadRowState& row, std::uint32_t nowTick) {
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
    int removed = 0;
    for (int i = 0; i < rows.RowCount();) {
        if (IsSilentRow(rows.Row(i), nowTick)) {
            rows.TerminateAndRemove(i);
            ++removed;
        } else {
            ++i;
        }
    }
    return removed;
}

int NextNowPlayingLeft(int left, int width) {
    return left >= -width ? left - 1 : width + 10;
}

}  // namespace wt::ui
