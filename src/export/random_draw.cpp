#include "export/random_draw.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <random>

#include "common/run_error.h"

namespace qb {

int DiscardCountFromCounter(std::uint64_t counter) {
    for (int dropped = 0; dropped < 4 && counter != 0 && counter % 10 == 0; ++dropped) {
        counter /= 10;
    }
    return static_cast<int>(counter % 1000);
}

void CheckRandomBound(int n) {
    if (n <= 0) {
        throw RunError(err::kInvalidCall, "RandomBelow needs a positive bound");
    }
}

std::uint64_t ReadCounter(Clock& clock) {
    const std::optional<std::uint64_t> counter = clock.PerformanceCounter();
    if (!counter) {
        throw CounterUnavailable{};
    }
    return *counter;
}

int ScaleBelow(std::uint64_t bits, int n) {
    // The top 53 bits make a double uniform in [0, 1).
    const double r = static_cast<double>(bits >> 11) * 0x1.0p-53;
    const auto result = static_cast<int>(std::floor(r * n));
    return std::min(result, n - 1);
}

int RandomBelow(int n, Clock& clock) { return RandomBelowFrom<std::mt19937_64>(n, clock); }

}  // namespace qb
