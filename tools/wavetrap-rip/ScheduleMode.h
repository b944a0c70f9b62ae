#pragma once
// wavetrap-rip --schedule [--settings FILE] [--seconds N]: runs the stored scheduled
// recordings without the window, for a machine with no screen.
namespace wt::rip {

// Whether the command line asks for the schedule mode.
bool WantsScheduleMode(int argc, char** argv);
int RunScheduleMode(int argc, char** argv);

}  // namespace wt::rip
