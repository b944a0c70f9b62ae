#include "platform/Clock.h"

#include <chrono>

namespace wt {

std::uint32_t SystemClock::TickCount() const {
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    return static_cast<std::uint32_t>(ms.count());
}

std::int64_t SystemClock::UnixTime() const {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

SystemClock& SystemClock::Instance() {
    static SystemClock clock;
    return clock;
}

}  // namespace wt
