#pragma once
#include <atomic>
#include <cstdint>

namespace wt {

// A millisecond tick count that wraps at 2^32, like the system tick counter the program
// compares rip start times against, and the wall-clock time (seconds since 1970 UTC; local
// time follows from the C library's time zone, TZ) that scheduled recordings run by.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::uint32_t TickCount() const = 0;
    virtual std::int64_t UnixTime() const = 0;
};

class SystemClock : public Clock {
public:
    std::uint32_t TickCount() const override;
    std::int64_t UnixTime() const override;
    static SystemClock& Instance();
};

// A clock that tests move by hand: Advance moves the tick count and the wall clock together.
class ManualClock : public Clock {
public:
    std::uint32_t TickCount() const override { return now_.load(); }
    std::int64_t UnixTime() const override { return wallMs_.load() / 1000; }
    void Advance(std::uint32_t ms) {
        now_ += ms;
        wallMs_ += ms;
    }
    void Set(std::uint32_t ms) { now_ = ms; }
    void SetUnixTime(std::int64_t seconds) { wallMs_ = seconds * 1000; }

private:
    std::atomic<std::uint32_t> now_{1000};
    std::atomic<std::int64_t> wallMs_{0};
};

}  // namespace wt
