#include "export/random_draw.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <set>
#include <vector>

#include "support/test_support.h"

namespace qb {
namespace {

using qbtest::FakeClock;

TEST(DiscardCount, FromCounterDigits) {
    struct Case {
        std::uint64_t counter;
        int expected;
    };
    // Four trailing zeros dropped, and no more than four.
    const Case cases[] = {{1234560000, 456},
                          {1234500000, 450},
                          {987, 987},
                          {87, 87},
                          {5, 5},
                          {0, 0},
                          {10, 1},
                          {10000, 1},
                          {100000, 10},
                          {1230000, 123},
                          {99991000, 991},
                          {std::numeric_limits<std::uint64_t>::max(), 615}};
    for (const Case& c : cases) {
        EXPECT_EQ(DiscardCountFromCounter(c.counter), c.expected) << c.counter;
    }
}

constexpr int kWide = 1'000'000'000;

// RandomBelow(n) of a clock with the given seed and counter.
int Draw(int n, std::uint64_t seed, std::uint64_t counter) {
    FakeClock clock;
    clock.seed = seed;
    clock.counter = counter;
    return RandomBelow(n, clock);
}

TEST(RandomBelow, ReseedsOnEveryCall) {
    FakeClock clock;
    clock.seed = 777;
    clock.seedStep = 0;
    EXPECT_EQ(RandomBelow(kWide, clock), RandomBelow(kWide, clock));
    EXPECT_EQ(clock.seedCalls, 2);
    EXPECT_EQ(clock.counterCalls, 2);
}

// A generator that records how RandomBelow uses it and gives the bits it is told to.
struct SpyGenerator {
    static inline std::uint64_t seed = 0, discarded = 0, bits = 0;
    explicit SpyGenerator(std::uint64_t s) { seed = s, discarded = 0; }
    void discard(unsigned long long k) { discarded += k; }
    std::uint64_t operator()() const { return bits; }
};

TEST(RandomBelow, SeedsFromTheClockSkipsDiscardCountPlusOneAndScalesTheDraw) {
    struct Row {
        std::uint64_t counter, discarded, bits;
        int n, expected;
    };
    for (const Row& row : std::vector<Row>{{99456, 457, 0, 24, 0},
                                           {0, 1, ~0ULL, 24, 23},
                                           {10000, 2, 1ULL << 63, 24, 12},
                                           {5'000'000, 501, 1ULL << 63, 60, 30},
                                           {123456789, 790, ~0ULL, 1, 0}}) {
        FakeClock clock;
        clock.seed = 4242;
        clock.counter = row.counter;
        SpyGenerator::bits = row.bits;
        EXPECT_EQ(RandomBelowFrom<SpyGenerator>(row.n, clock), row.expected) << row.counter;
        EXPECT_EQ(SpyGenerator::seed, 4242U);
        EXPECT_EQ(SpyGenerator::discarded, row.discarded) << row.counter;
    }
}

// The draw depends on the seed and on the counter only through its discard count: each
// count skips another number of the seeded sequence.
TEST(RandomBelow, FollowsTheSeedAndTheDiscardCountOfTheCounter) {
    for (const std::uint64_t counter : {99456ULL, 4560ULL, 7000456ULL, 4'560'000ULL}) {
        EXPECT_EQ(Draw(kWide, 5, counter), Draw(kWide, 5, 1234560000)) << counter;  // all discard 456
    }
    std::set<int> byCount;
    std::set<int> bySeed;
    for (std::uint64_t i = 0; i < 50; ++i) {
        byCount.insert(Draw(kWide, 5, (1000 + i) * 10000));
        bySeed.insert(Draw(kWide, 5 + i, 987));
    }
    EXPECT_EQ(byCount.size(), 50U);
    EXPECT_EQ(bySeed.size(), 50U);
}

TEST(RandomBelow, DrawsEveryNumberBelowTheBoundAndNoOther) {
    for (const int n : {1, 2, 24, 60}) {
        SCOPED_TRACE(n);
        std::set<int> seen;
        for (std::uint64_t seed = 0; seed < 3000; ++seed) {
            const int value = Draw(n, seed, seed * 131);
            ASSERT_GE(value, 0);
            ASSERT_LT(value, n);
            seen.insert(value);
        }
        EXPECT_EQ(seen.size(), static_cast<std::size_t>(n));
    }
}

TEST(RandomBelow, FailsWithoutABoundOrACounter) {
    for (const int n : {0, -1, std::numeric_limits<int>::min()}) {
        FakeClock clock;
        EXPECT_EQ(qbtest::RunErrorNumber([&] { (void)RandomBelow(n, clock); }), 5) << n;
    }
    FakeClock clock;
    clock.counter.reset();
    EXPECT_THROW((void)RandomBelow(24, clock), CounterUnavailable);
}

}  // namespace
}  // namespace qb
