#pragma once
// The time sources the engine needs, behind one interface so that tests can fix them.

#include <cstdint>
#include <optional>

#include "export/date_time.h"

namespace qb {

class Clock {
public:
    virtual ~Clock() = default;
    // The present local date and time.
    virtual DateTime Now() = 0;
    // The high-resolution counter (the monotonic clock in nanoseconds); nullopt when
    // the platform cannot read it.
    virtual std::optional<std::uint64_t> PerformanceCounter() = 0;
    // A seed for the pseudo-random generator taken from the time of day.
    virtual std::uint64_t TimeOfDaySeed() = 0;
};

// The machine's own clocks.
class SystemClock final : public Clock {
public:
    DateTime Now() override;
    std::optional<std::uint64_t> PerformanceCounter() override;
    std::uint64_t TimeOfDaySeed() override;
};

}  // namespace qb
