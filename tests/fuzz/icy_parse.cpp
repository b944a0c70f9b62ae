// ICY stream parsing: the first byte picks the metadata interval, the rest is fed to the
// demuxer in uneven pieces; every metadata text then goes through the title extraction and
// the file name step, as a channel would.
#include "engine/IcyParser.h"
#include "platform/FileNames.h"
#include "platform/TextEncoding.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    std::size_t metaInt = static_cast<std::size_t>(data[0]) * 7 % 97;
    std::size_t step = (data[1] % 31) + 1;
    std::size_t audioBytes = 0;
    wt::IcyDemuxer demuxer(
        metaInt, [&](const char*, std::size_t n) { audioBytes += n; },
        [](const std::string& text) {
            auto title = wt::ExtractStreamTitle(text);
            if (title) {
                std::string name = wt::SanitizeFileName(*title, ".mp3");
                if (name.size() > wt::kMaxFileNameBytes || name.find('/') != std::string::npos) __builtin_trap();
            }
        });
    const char* bytes = reinterpret_cast<const char*>(data + 2);
    std::size_t left = size - 2;
    for (std::size_t at = 0; at < left; at += step) demuxer.Feed(bytes + at, std::min(step, left - at));
    wt::ParseMetaInt(std::string(bytes, left), 0);
    return 0;
}
