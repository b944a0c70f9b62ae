#pragma once
// Columns of the Downloading list; column 0 is the row's caption (the station's name).
namespace wt::ui {
enum DownloadColumn { kBitRateColumn = 1, kStatusColumn, kRippedColumn, kSongColumn, kKbColumn };
}  // namespace wt::ui
