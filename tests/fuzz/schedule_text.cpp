// The "Schedules" setting is text anyone can edit: any bytes must parse or be skipped, and a
// schedule that parses must read back the same from its own line.
#include "schedule/ScheduleText.h"
#include "platform/StringList.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const wt::schedule::ScheduleList list = wt::schedule::ParseScheduleLines(wt::SplitLines(text));
    for (const auto& schedule : list.schedules) {
        auto again = wt::schedule::ParseSchedule(wt::schedule::FormatSchedule(schedule));
        if (!again || !(*again == schedule)) std::abort();
    }
    return 0;
}
