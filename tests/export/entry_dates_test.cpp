#include "export/entry_dates.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "common/run_error.h"
#include "common/unicode.h"
#include "support/test_support.h"

namespace qb {
namespace {

using qbtest::FakeClock;
using qbtest::RunErrorNumber;

DateFields FieldsOf(const std::vector<std::u16string>& f) { return {f[0], f[1], f[2], f[3], f[4]}; }

std::vector<std::u16string> Fields(const DateFields& w) { return {w.year, w.month, w.day, w.hour, w.minute}; }

// Field texts for failure traces.
std::string Narrow(std::u16string_view text) { return Utf16ToUtf8(text); }

std::string Narrow(const std::vector<std::u16string>& fields) {
    std::string out;
    for (const auto& f : fields) {
        out += "[" + Narrow(f) + "]";
    }
    return out;
}

// The text a record's DATE line carries after its label, built from the fields.
std::u16string DateLineText(const DateFields& w) {
    return w.month + u"/" + w.day + u"/" + w.year + u" " + w.hour + u":" + w.minute + u":00";
}

TEST(DiscardCount, FromCounterDigits) {
    struct Case {
        std::uint64_t counter;
        int expected;
    };
    const Case cases[] = {
        {1234560000, 456},  // four trailing zeros dropped
        {1234500000, 450},  // no more than four
        {987, 987},
        {87, 87},
        {5, 5},
        {0, 0},
        {10, 1},
        {10000, 1},
        {100000, 10},
        {1230000, 123},
        {99991000, 991},
        {std::numeric_limits<std::uint64_t>::max(), 615},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DiscardCountFromCounter(c.counter), c.expected) << c.counter;
    }
}

TEST(DateString, FormatAndShow) {
    EXPECT_EQ(FormatDateString({2024, 3, 5, 8, 7, 45}), u"2024/03/05 08:07:45");
    EXPECT_EQ(FormatDateString({2026, 12, 31, 23, 59, 0}), u"2026/12/31 23:59:00");
    EXPECT_EQ(FormatDateString({999, 1, 1, 0, 0, 0}), u"0999/01/01 00:00:00");

    DateFields w;
    ShowStartDate(w, u"2024/03/05 08:07:45");
    EXPECT_EQ(Fields(w), (std::vector<std::u16string>{u"2024", u"03", u"05", u"08", u"07"}));
    ShowStartDate(w, u"2024/03");
    EXPECT_EQ(Fields(w), (std::vector<std::u16string>{u"2024", u"03", u"", u"", u""}));
    ShowStartDate(w, u"");
    EXPECT_EQ(Fields(w), (std::vector<std::u16string>{u"", u"", u"", u"", u""}));
}

TEST(ParseDateFields, AcceptsTypedDates) {
    struct Case {
        std::vector<std::u16string> fields;
        DateTime expected;
    };
    const Case cases[] = {
        {{u"2026", u"4", u"1", u"9", u"0"}, {2026, 4, 1, 9, 0, 0}},
        {{u" 2026 ", u" 04", u"01 ", u"\t23", u"59"}, {2026, 4, 1, 23, 59, 0}},
        {{u"2024", u"02", u"29", u"00", u"00"}, {2024, 2, 29, 0, 0, 0}},
        {{u"2000", u"2", u"29", u"12", u"30"}, {2000, 2, 29, 12, 30, 0}},
        {{u"100", u"1", u"1", u"0", u"0"}, {100, 1, 1, 0, 0, 0}},
        {{u"0999", u"12", u"31", u"0", u"0"}, {999, 12, 31, 0, 0, 0}},
        {{u"9999", u"12", u"31", u"23", u"59"}, {9999, 12, 31, 23, 59, 0}},
        {{u"2026", u"04", u"30", u"00", u"00"}, {2026, 4, 30, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        const auto& f = c.fields;
        EXPECT_EQ(ParseDateFields(f[0], f[1], f[2], f[3], f[4]), c.expected) << Narrow(f);
    }
}

TEST(ParseDateFields, RefusesWhatIsNotADateWith13) {
    const std::vector<std::vector<std::u16string>> cases = {
        {u"2026", u"13", u"1", u"0", u"0"},     {u"2026", u"0", u"1", u"0", u"0"},
        {u"2026", u"4", u"31", u"0", u"0"},     {u"2026", u"2", u"29", u"0", u"0"},
        {u"2100", u"2", u"29", u"0", u"0"},     {u"2026", u"1", u"0", u"0", u"0"},
        {u"2026", u"1", u"1", u"24", u"0"},     {u"2026", u"1", u"1", u"0", u"60"},
        {u"2026", u"4a", u"1", u"0", u"0"},     {u"abcd", u"4", u"1", u"0", u"0"},
        {u"2026", u"", u"1", u"0", u"0"},       {u"2026", u"4", u"1", u"  ", u"0"},
        {u"2026", u"+4", u"1", u"0", u"0"},     {u"2026", u"4", u"1", u"-1", u"0"},
        {u"99", u"4", u"1", u"0", u"0"},        {u"099", u"4", u"1", u"0", u"0"},
        {u"10000", u"4", u"1", u"0", u"0"},     {u"2026", u"004", u"1", u"0", u"0"},
        {u"2026", u"1 2", u"1", u"0", u"0"},    {u"2026", u"4.0", u"1", u"0", u"0"},
        {u"2026", u"\uFF14", u"1", u"0", u"0"},  // a full-width digit
    };
    for (const auto& f : cases) {
        EXPECT_EQ(RunErrorNumber([&] { (void)ParseDateFields(f[0], f[1], f[2], f[3], f[4]); }), 13) << Narrow(f);
    }
}

TEST(AddInterval, CalendarArithmetic) {
    struct Case {
        DateTime from;
        std::u16string interval;
        long long amount;
        DateTime expected;
    };
    const Case cases[] = {
        {{2024, 2, 28, 10, 0, 0}, u"d", 1, {2024, 2, 29, 10, 0, 0}},
        {{2024, 2, 29, 10, 0, 0}, u"d", 1, {2024, 3, 1, 10, 0, 0}},
        {{2100, 2, 28, 10, 0, 0}, u"d", 1, {2100, 3, 1, 10, 0, 0}},
        {{2000, 2, 28, 10, 0, 0}, u"d", 1, {2000, 2, 29, 10, 0, 0}},
        {{2026, 1, 31, 8, 7, 45}, u"d", 1, {2026, 2, 1, 8, 7, 45}},
        {{2026, 4, 30, 8, 0, 0}, u"d", 1, {2026, 5, 1, 8, 0, 0}},
        {{2027, 1, 1, 8, 0, 0}, u"d", -1, {2026, 12, 31, 8, 0, 0}},
        {{2026, 3, 1, 8, 0, 0}, u"d", -1, {2026, 2, 28, 8, 0, 0}},
        {{2026, 12, 30, 23, 0, 0}, u"d", 3, {2027, 1, 2, 23, 0, 0}},
        {{2026, 1, 1, 0, 0, 0}, u"d", 365, {2027, 1, 1, 0, 0, 0}},
        {{2026, 12, 31, 23, 0, 0}, u"h", 2, {2027, 1, 1, 1, 0, 0}},
        {{2026, 12, 31, 23, 0, 0}, u"h", 0, {2026, 12, 31, 23, 0, 0}},
        {{2026, 6, 1, 1, 0, 0}, u"h", -2, {2026, 5, 31, 23, 0, 0}},
        {{2026, 12, 31, 23, 45, 0}, u"n", 30, {2027, 1, 1, 0, 15, 0}},
        {{2026, 3, 1, 0, 10, 0}, u"n", -30, {2026, 2, 28, 23, 40, 0}},
        {{9999, 12, 31, 23, 0, 0}, u"n", 59, {9999, 12, 31, 23, 59, 0}},
        {{100, 1, 1, 0, 0, 0}, u"d", 3615899, {9999, 12, 31, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AddInterval(c.from, c.interval, c.amount), c.expected)
            << Narrow(FormatDateString(c.from)) << " amount " << c.amount;
    }
}

TEST(AddInterval, OutOfRangeOrBadIntervalGives5) {
    struct Case {
        DateTime from;
        std::u16string interval;
        long long amount;
    };
    const Case cases[] = {
        {{9999, 12, 31, 0, 0, 0}, u"d", 1},
        {{9999, 12, 31, 23, 59, 0}, u"n", 1},
        {{9999, 12, 31, 23, 0, 0}, u"h", 1},
        {{100, 1, 1, 0, 0, 0}, u"d", -1},
        {{100, 1, 1, 0, 0, 0}, u"n", -1},
        {{2026, 1, 1, 0, 0, 0}, u"d", std::numeric_limits<long long>::max()},
        {{2026, 1, 1, 0, 0, 0}, u"n", std::numeric_limits<long long>::min()},
        {{2026, 1, 1, 0, 0, 0}, u"m", 1},
        {{2026, 1, 1, 0, 0, 0}, u"", 1},
        {{0, 0, 0, 0, 0, 0}, u"d", 1},  // never set
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RunErrorNumber([&] { (void)AddInterval(c.from, c.interval, c.amount); }), 5)
            << Narrow(FormatDateString(c.from)) << " " << Narrow(c.interval) << " " << c.amount;
    }
}

TEST(StepWorkDate, StepsFromWorkDateNotTheFields) {
    struct Case {
        DateTime work;
        long long amount;
        std::u16string expectedText;
    };
    const Case cases[] = {
        {{2026, 3, 31, 10, 0, 45}, 1, u"2026/04/01 10:00:45"},  // last day of a month
        {{2026, 2, 28, 10, 0, 0}, 1, u"2026/03/01 10:00:00"},
        {{2027, 1, 1, 9, 30, 0}, -1, u"2026/12/31 09:30:00"},  // "-" on 1 January
        {{2024, 3, 1, 9, 30, 0}, -1, u"2024/02/29 09:30:00"},
    };
    for (const Case& c : cases) {
        StartDates m;
        m.WorkDate = c.work;
        DateFields w{u"2030", u"7", u"7", u"7", u"7"};  // typed by hand: ignored by the step
        StepWorkDate(m, w, u"d", c.amount);
        EXPECT_EQ(m.StepDateText, c.expectedText);
        EXPECT_EQ(FormatDateString(m.WorkDate), c.expectedText);
        ASSERT_TRUE(m.StepDate.has_value());
        EXPECT_EQ(*m.StepDate, m.WorkDate);
        const std::u16string& t = c.expectedText;
        EXPECT_EQ(Fields(w), (std::vector<std::u16string>{t.substr(0, 4), t.substr(5, 2), t.substr(8, 2),
                                                          t.substr(11, 2), t.substr(14, 2)}));
    }
}

TEST(StepWorkDate, OutOfRangeChangesNothing) {
    StartDates m;
    m.WorkDate = {9999, 12, 31, 10, 0, 0};
    m.StepDateText = u"9999/12/30 10:00:00";
    DateFields w{u"9999", u"12", u"31", u"10", u"00"};
    EXPECT_EQ(RunErrorNumber([&] { StepWorkDate(m, w, u"d", 1); }), 5);
    EXPECT_EQ(m.WorkDate, (DateTime{9999, 12, 31, 10, 0, 0}));
    EXPECT_EQ(m.StepDateText, u"9999/12/30 10:00:00");
    EXPECT_FALSE(m.StepDate.has_value());
    EXPECT_EQ(Fields(w), (std::vector<std::u16string>{u"9999", u"12", u"31", u"10", u"00"}));
}

constexpr TimeStep kUnchanged{};
constexpr TimeStep kRandom{TimeStep::Kind::Random, 0};
constexpr TimeStep kHalfHour{TimeStep::Kind::HalfHour, 0};
constexpr TimeStep Hours(int n) { return {TimeStep::Kind::Hours, n}; }

TEST(AdvanceForNextRecord, DatesOfSuccessiveRecords) {
    struct Case {
        const char* name;
        std::vector<std::u16string> start;
        DayStep dayStep;
        TimeStep timeStep;
        std::vector<std::u16string> dateLines;  // one per record, read before its advance
        std::vector<std::u16string> fieldsAfter;
    };
    const Case cases[] = {
        {"1 day, 2 hours across the year end",
         {u"2026", u"12", u"31", u"23", u"00"},
         DayStep::OneDay,
         Hours(2),
         {u"12/31/2026 23:00:00", u"01/02/2027 01:00:00", u"01/03/2027 03:00:00"},
         {u"2027", u"01", u"04", u"05", u"00"}},
        {"same day, no change",
         {u"2026", u"02", u"28", u"10", u"00"},
         DayStep::SameDay,
         kUnchanged,
         {u"02/28/2026 10:00:00", u"02/28/2026 10:00:00", u"02/28/2026 10:00:00"},
         {u"2026", u"02", u"28", u"10", u"00"}},
        {"same day, no change, one-digit fields become two digits",
         {u"2026", u"2", u"8", u"7", u"5"},
         DayStep::SameDay,
         kUnchanged,
         {u"2/8/2026 7:5:00", u"02/08/2026 07:05:00"},
         {u"2026", u"02", u"08", u"07", u"05"}},
        {"month typed with one digit",
         {u"2026", u"4", u"01", u"09", u"00"},
         DayStep::OneDay,
         kUnchanged,
         {u"4/01/2026 09:00:00", u"04/02/2026 09:00:00", u"04/03/2026 09:00:00"},
         {u"2026", u"04", u"04", u"09", u"00"}},
        {"typed with spaces",
         {u" 2026", u"4 ", u"30", u"9", u"0"},
         DayStep::TwoDays,
         Hours(1),
         {u"4 /30/ 2026 9:0:00", u"05/02/2026 10:00:00", u"05/04/2026 11:00:00"},
         {u"2026", u"05", u"06", u"12", u"00"}},
        {"3 days, 30 minutes",
         {u"2024", u"02", u"26", u"23", u"45"},
         DayStep::ThreeDays,
         kHalfHour,
         {u"02/26/2024 23:45:00", u"03/01/2024 00:15:00", u"03/04/2024 00:45:00"},
         {u"2024", u"03", u"07", u"01", u"15"}},
        {"same day, 12 hours",
         {u"2100", u"02", u"28", u"06", u"00"},
         DayStep::SameDay,
         Hours(12),
         {u"02/28/2100 06:00:00", u"02/28/2100 18:00:00", u"03/01/2100 06:00:00"},
         {u"2100", u"03", u"01", u"18", u"00"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartDates m;
        m.WorkDate = {2001, 1, 1, 0, 0, 0};  // a stale working date: the advance reads the fields
        DateFields w = FieldsOf(c.start);
        FakeClock clock;
        std::vector<std::u16string> lines;
        for (std::size_t i = 0; i < c.dateLines.size(); ++i) {
            lines.push_back(DateLineText(w));
            AdvanceForNextRecord(m, w, c.dayStep, c.timeStep, clock);
        }
        EXPECT_EQ(lines, c.dateLines);
        EXPECT_EQ(Fields(w), c.fieldsAfter);
        const auto& f = c.fieldsAfter;
        EXPECT_EQ(m.WorkDate, ParseDateFields(f[0], f[1], f[2], f[3], f[4]));
        EXPECT_EQ(clock.counterCalls, 0);
    }
}

TEST(AdvanceForNextRecord, WorkDateTextIsTheDayStepReadFromTheFields) {
    StartDates m;
    DateFields w{u"2026", u"12", u"31", u"23", u"00"};
    FakeClock clock;
    AdvanceForNextRecord(m, w, DayStep::OneDay, Hours(2), clock);
    EXPECT_EQ(m.WorkDateText, u"2027/01/01 23:00:00");
    EXPECT_EQ(m.StepDateText, u"2027/01/02 01:00:00");
    EXPECT_EQ(m.WorkDate, (DateTime{2027, 1, 2, 1, 0, 0}));
}

TEST(AdvanceForNextRecord, FailuresEndTheRecord) {
    struct Case {
        const char* name;
        std::vector<std::u16string> fields;
        int expected;
    };
    const Case cases[] = {
        {"month 13", {u"2026", u"13", u"01", u"00", u"00"}, 13},
        {"31 April", {u"2026", u"04", u"31", u"00", u"00"}, 13},
        {"29 February 2026", {u"2026", u"02", u"29", u"00", u"00"}, 13},
        {"hour 24", {u"2026", u"04", u"01", u"24", u"00"}, 13},
        {"letters", {u"2026", u"O4", u"01", u"09", u"00"}, 13},
        {"full-width digit", {u"2026", u"04", u"01", u"９", u"00"}, 13},
        {"empty year", {u"", u"04", u"01", u"09", u"00"}, 13},
        {"past 9999/12/31", {u"9999", u"12", u"31", u"00", u"00"}, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartDates m;
        DateFields w = FieldsOf(c.fields);
        FakeClock clock;
        EXPECT_EQ(RunErrorNumber([&] { AdvanceForNextRecord(m, w, DayStep::OneDay, kUnchanged, clock); }), c.expected);
    }
}

TEST(AdvanceForNextRecord, StepPastTheLastMinuteGives5) {
    StartDates m;
    DateFields w{u"9999", u"12", u"31", u"23", u"59"};
    FakeClock clock;
    EXPECT_EQ(RunErrorNumber([&] { AdvanceForNextRecord(m, w, DayStep::SameDay, kHalfHour, clock); }), 5);
}

TEST(AdvanceForNextRecord, RandomTimeStaysOnTheDay) {
    struct Case {
        DayStep dayStep;
        int daysPerRecord;
    };
    const Case cases[] = {{DayStep::SameDay, 0}, {DayStep::OneDay, 1}, {DayStep::ThreeDays, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.daysPerRecord);
        StartDates m;
        DateFields w{u"2026", u"12", u"31", u"23", u"00"};
        FakeClock clock;
        clock.seed = 1'700'000'000'000'000ULL;
        clock.seedStep = 7919;
        clock.counter = 123'456'789'000ULL;
        clock.counterStep = 1'000'003;
        std::set<std::u16string> hours;
        std::set<std::u16string> minutes;
        const int records = 400;
        for (int k = 1; k <= records; ++k) {
            AdvanceForNextRecord(m, w, c.dayStep, kRandom, clock);
            const DateTime day =
                AddInterval({2026, 12, 31, 0, 0, 0}, u"d", static_cast<long long>(k) * c.daysPerRecord);
            const std::u16string dayText = FormatDateString(day);
            ASSERT_EQ(w.year, dayText.substr(0, 4));
            ASSERT_EQ(w.month, dayText.substr(5, 2));
            ASSERT_EQ(w.day, dayText.substr(8, 2));
            ASSERT_EQ(w.hour.size(), 2U);
            ASSERT_EQ(w.minute.size(), 2U);
            const DateTime read = ParseDateFields(w.year, w.month, w.day, w.hour, w.minute);
            // Random times leave the working date at the day step, time of the fields before.
            EXPECT_EQ(FormatDateString(m.WorkDate), m.WorkDateText);
            EXPECT_EQ(m.WorkDate.day, read.day);
            hours.insert(w.hour);
            minutes.insert(w.minute);
        }
        EXPECT_EQ(hours.size(), 24U);
        EXPECT_EQ(*hours.begin(), u"00");
        EXPECT_EQ(*hours.rbegin(), u"23");
        EXPECT_GE(minutes.size(), 55U);
        EXPECT_EQ(clock.seedCalls, 2 * records);
        EXPECT_EQ(clock.counterCalls, 2 * records);
    }
}

TEST(AdvanceForNextRecord, RandomWithoutCounterThrows) {
    StartDates m;
    DateFields w{u"2026", u"04", u"01", u"09", u"00"};
    FakeClock clock;
    clock.counter.reset();
    EXPECT_THROW(AdvanceForNextRecord(m, w, DayStep::SameDay, kRandom, clock), CounterUnavailable);
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
        EXPECT_EQ(RunErrorNumber([&] { (void)RandomBelow(n, clock); }), 5) << n;
    }
    FakeClock clock;
    clock.counter.reset();
    EXPECT_THROW((void)RandomBelow(24, clock), CounterUnavailable);
}

TEST(StartDate, ResetToNowAndRestore) {
    FakeClock clock;
    clock.now = {2024, 3, 5, 8, 7, 45};
    StartDates m;
    DateFields w;
    ResetStartDateToNow(m, w, clock);
    EXPECT_EQ(clock.nowCalls, 1);
    EXPECT_EQ(m.StartDateText, u"2024/03/05 08:07:45");
    EXPECT_EQ(m.WorkDateText, u"2024/03/05 08:07:45");
    ASSERT_TRUE(m.StartDate.has_value());
    EXPECT_EQ(*m.StartDate, clock.now);
    EXPECT_EQ(m.WorkDate, clock.now);
    const std::vector<std::u16string> startFields{u"2024", u"03", u"05", u"08", u"07"};
    EXPECT_EQ(Fields(w), startFields);

    // "+" three times, a typed day, then "元に戻す".
    for (int i = 0; i < 3; ++i) {
        StepWorkDate(m, w, u"d", 1);
    }
    EXPECT_EQ(Fields(w), (std::vector<std::u16string>{u"2024", u"03", u"08", u"08", u"07"}));
    w.day = u"20";
    m.WorkDateText = u"changed";
    RestoreStartDate(m, w);
    EXPECT_EQ(Fields(w), startFields);
    EXPECT_EQ(m.WorkDate, *m.StartDate);
    EXPECT_EQ(m.WorkDateText, m.StartDateText);
    EXPECT_EQ(m.StartDateText, u"2024/03/05 08:07:45");
}

}  // namespace
}  // namespace qb
