#pragma once
// The random draw behind a random time of day: a whole number below a bound, re-seeded
// from the time of day on every call and stirred by the high-resolution counter.

#include <cstdint>

#include "export/clock.h"

namespace qb {

// Thrown by RandomBelow when the high-resolution counter cannot be read: the caller
// shows "現在の環境では使用できません" (critical icon, caption kCounterFailureCaption)
// and the program ends.
struct CounterUnavailable {};

// A whole number from 0 to n - 1, re-seeded from the time of day on every call. The
// generator then skips DiscardCountFromCounter + 1 draws, so that calls close together
// in time still draw differently. Throws CounterUnavailable when the counter cannot be
// read, RunError 5 when n is not positive.
[[nodiscard]] int RandomBelow(int n, Clock& clock);

// The counter's last three digits, after at most four trailing zeros are dropped: a
// counter that ticks in steps of 10 to 10,000 units still gives varying digits.
[[nodiscard]] int DiscardCountFromCounter(std::uint64_t counter);

// The parts of RandomBelow around its generator: the bound checked, the counter read
// (CounterUnavailable when it cannot be), and 64 random bits scaled to 0 .. n - 1.
void CheckRandomBound(int n);
[[nodiscard]] std::uint64_t ReadCounter(Clock& clock);
[[nodiscard]] int ScaleBelow(std::uint64_t bits, int n);

// RandomBelow over any generator with a seed constructor, discard() and operator()
// (RandomBelow itself uses std::mt19937_64).
template <class Generator>
[[nodiscard]] int RandomBelowFrom(int n, Clock& clock) {
    CheckRandomBound(n);
    Generator generator(clock.TimeOfDaySeed());
    const int discard = DiscardCountFromCounter(ReadCounter(clock));
    generator.discard(static_cast<unsigned long long>(discard) + 1);
    return ScaleBelow(generator(), n);
}

}  // namespace qb
