#pragma once
#include <atomic>
#include <cstdint>

namespace wt {

// A millisecond tick count that wraps at 2^32, like the system tick counter the program
// compares rip start times against.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::uint32_t TickCount() const = 0;
};

class SystemClock : public Clock {
public:
    std::uint32_t TickCount() const override;
    static SystemClock& Instance();
};

// A clock that tests move by hand.
class ManualClock : public Clock {
public:
    std::uint32_t TickCount() const override { return now_.load(); }
    void Advance(std::uint32_t ms) { now_ += ms; }
    void Set(std::uint32_t ms) { now_ = ms; }

private:
    std::atomic<std::uint32_t> now_{1000};
};

}  // namespace wt
