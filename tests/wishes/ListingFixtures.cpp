#include "ListingFixtures.h"

namespace wt::test {

std::string ListingEntryXml(const char* name, const char* url, const char* type, const char* genre,
                            const char* song, const char* bitrate) {
    std::string out = "<entry>\n";
    auto field = [&](const char* tag, const char* value) {
        if (value) out += std::string("  <") + tag + ">" + value + "</" + tag + ">\n";
    };
    field("server_name", name);
    field("listen_url", url);
    field("server_type", type);
    field("bitrate", bitrate);
    field("channels", "2");
    field("samplerate", "44100");
    field("genre", genre);
    field("current_song", song);
    out += "</entry>\n";
    return out;
}

std::string ListingXml(const std::string& entries) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<directory>\n" + entries + "</directory>\n";
}

std::string LargeListingXml(int count) {
    std::string entries;
    entries.reserve(static_cast<std::size_t>(count) * 300);
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        entries += ListingEntryXml(("Station " + n).c_str(), ("http://127.0.0.1:9/" + n).c_str(), "audio/mpeg",
                                   "Rock Pop", ("Artist " + n + " - Song " + n).c_str());
    }
    return ListingXml(entries);
}

}  // namespace wt::test
