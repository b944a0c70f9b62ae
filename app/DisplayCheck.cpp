#include "DisplayCheck.h"

#include <cstdlib>

namespace wt::app {

namespace {
bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}
}  // namespace

std::string MissingDisplayMessage() {
    if (IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM")) return {};
    return "Wavetrap cannot start: no graphical display was found (neither DISPLAY nor "
           "WAYLAND_DISPLAY is set).\n"
           "Start it from a desktop session, or over SSH with X forwarding (ssh -X).\n"
           "To run it without a screen, set QT_QPA_PLATFORM=offscreen.\n";
}

}  // namespace wt::app
