#pragma once
// The two one-second sweeps of the Downloading list, kept apart from the widgets so the rules
// can be checked on their own.
//
// Finished rows: a row whose status is "Stopped" is removed, and so is a row whose rip never
// started (the rip limit refused it, so it has no channel) and a row whose channel has ended
// normally. A row whose status is still empty but has a channel has just started: its first
// notification has not arrived yet, and it stays. A row whose rip ended on a failure keeps its
// reason on the screen until the user removes it.
//
// Silent rows: a rip that is connected but has shown no song name 10 seconds after it started
// is told to stop, and its row says why.
#include <cstdint>
#include <string>

namespace wt::ui {

inline constexpr const char* kStatusStopped = "Stopped";
inline constexpr const char* kStatusSilent = "No song title in 10 seconds. Stopped";
inline constexpr std::int32_t kSilentRowMs = 10000;

// Statuses of a rip on its normal way; every other status names a failure.
bool IsFailureStatus(const std::string& status);

struct DownloadRowState {
    std::string status;    // the "Status" column
    std::string songName;  // the "Song Name" column
    bool hasChannel = false;  // a rip was started for the row
    std::uint32_t startTick = 0;
    bool ended = false;   // the row's channel has reported its end
    bool failed = false;  // the row shows a failure's reason
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
    // Asks the row's channel itself to stop; the row stays and shows reason as a failure.
    virtual void TerminateWithReason(int index, const std::string& reason) = 0;
};

// Timer1Timer: returns how many rows went.
int SweepFinishedRows(DownloadRowList& rows);
// Timer3Timer: returns how many rips were stopped.
int SweepSilentRows(DownloadRowList& rows, std::uint32_t nowTick);

// The Now Playing label runs left at 100 pixels a second and comes back in from the right once
// it has left its strip completely: the next left edge after `left`, `step` pixels (one per
// 10 ms the tick stands for) further on. The window ticks every 40 ms, four pixels at a time:
// the same speed at a quarter of the repaints.
inline constexpr int kNowPlayingTickMs = 40;
inline constexpr int kNowPlayingStep = kNowPlayingTickMs / 10;
int NextNowPlayingLeft(int left, int width, int step = 1);

}  // namespace wt::ui
