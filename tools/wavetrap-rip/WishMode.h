#pragma once
// wavetrap-rip's wish mode: records wished songs from the live now-playing sources, without
// the window.

namespace wt::rip {

// Whether the command line asks for the wish mode (it names --wish, --wishes-from, --yp or
// --watch).
bool IsWishMode(int argc, char** argv);
int RunWishMode(int argc, char** argv);

}  // namespace wt::rip
