#pragma once
#include <string>

namespace wt::app {

// Empty when a display is there for the GUI (an X11 or Wayland display, or a Qt platform
// chosen by hand); otherwise the message that tells the user why the program cannot start.
std::string MissingDisplayMessage();

}  // namespace wt::app
