#include "export/clock.h"

#include <chrono>
#include <ctime>

namespace qb {

DateTime SystemClock::Now() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return DateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

std::optional<std::uint64_t> SystemClock::PerformanceCounter() {
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch();
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(ticks).count();
    if (ns < 0) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(ns);
}

std::uint64_t SystemClock::TimeOfDaySeed() {
    const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(sinceEpoch).count());
}

}  // namespace qb
