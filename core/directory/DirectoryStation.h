#pragma once
// One station as the radio-browser directory describes it, and as an imported station list
// gives it (where most fields stay empty).
#include <cstdint>
#include <stdexcept>
#include <string>

namespace wt {

struct DirectoryStation {
    std::string stationuuid;
    std::string name;
    std::string url;          // what the station's owner entered: often a playlist
    std::string urlResolved;  // the stream the directory found behind url
    std::string tags;         // comma-separated
    std::string country;
    std::string countryCode;
    std::string language;     // comma-separated
    std::string codec;
    std::int64_t bitrate = 0;  // kbit/s as given; may lie outside what the catalogue holds
    bool hls = false;
    std::int64_t votes = 0;
    bool lastCheckOk = true;

    // The address to record: the resolved stream when the directory found one.
    const std::string& StreamUrl() const { return urlResolved.empty() ? url : urlResolved; }
    // The first of the tags, trimmed, or "".
    std::string FirstTag() const;
};

// A directory or station list that could not be read; the message is for the user.
class DirectoryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace wt
