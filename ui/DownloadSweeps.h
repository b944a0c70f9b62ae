#pragma once
// The two one-second sweeps of the Downloading list, kept apart from the widgets so the rules
// can be checked on their own.
//
// Finished rows: a row whose status is "Stopped" is removed, and so is a row whose rip never
// started (the rip limit refused it, so it has no channel). A row whose status is still empty
// but has a channel has just started: its first notification has not arrived yet, and it stays.
//
// Silent rows: a row that has shown no song name 10 seconds after its rip started is removed
// and its channel told to stop.
#include <cstdint>
#include <string>

namespace wt::ui {

inline constexpr const char* kStatusStopped = "Stopped";
inline constexpr std::int32_t kSilentRowMs = 10000;

struct DownloadRowState {
    std::string status;    // the "Status" column
    std::string songName;  // the "Song Name" column
    bool hasChannel = false;
    std::uint32_t startTick = 0;
};

bool IsFinishedRow(const DownloadRowState& row);
bool IsSilentRow(const DownloadRowState& row, std::uint32_t nowTick);

// What the sweeps walk: the Downloading list, or a plain list in tests.
class DownloadRowList {
public:
    virtual ~DownloadRowList() = default;
    virtual int RowCount() const = 0;
    virtual DownloadRowState Row(int index) const = 0;
    // Asks the manager to stop the row's rip, then deletes the row; errors are ignored.
    virtual void StopAndRemove(int index) = 0;
    // Asks the row's channel itself to stop, then deletes the row.
    virtual void TerminateAndRemove(int index) = 0;
};

// Timer1Timer: returns how many rows went.
int SweepFinishedRows(DownloadRowList& rows);
// Timer3Timer: returns how many rows went.
int SweepSilentRows(DownloadRowList& rows, std::uint32_t nowTick);

// The Now Playing label runs one pixel left per tick and comes back in from the right once it
// has left its strip completely: the next left edge after `left`.
int NextNowPlayingLeft(int left, int width);

}  // namespace wt::ui
