#pragma once
#include <string>

namespace wt {

// One station hit of the station directory.
struct TWishInfo {
    std::string URL;         // the station's stream address; empty when its playlist could not be read
    std::string NowPlaying;  // the song the directory says the station is playing
    std::string Genre;
    std::string Station;     // the station's name
};

}  // namespace wt
