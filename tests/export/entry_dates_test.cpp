#include "export/entry_dates.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace qb {
namespace {

using qbtest::FakeClock;
using qbtest::RunErrorNumber;

std::vector<std::u16string> Texts(const DateFields& f) { return {f.year, f.month, f.day, f.hour, f.minute}; }

// The text a record's DATE line carries after its label, built from the fields.
std::u16string DateLineText(const DateFields& w) {
    return w.month + u"/" + w.day + u"/" + w.year + u" " + w.hour + u":" + w.minute + u":00";
}

TEST(StepWorkDate, OutOfRangeChangesNothing) {
    StartDates m;
    m.WorkDate = {9999, 12, 31, 10, 0, 0};
    DateFields w{u"9999", u"12", u"31", u"10", u"00"};
    EXPECT_EQ(RunErrorNumber([&] { StepWorkDate(m, w, u"d", 1); }), 5);
    EXPECT_EQ(m.WorkDate, (DateTime{9999, 12, 31, 10, 0, 0}));
    EXPECT_EQ(Texts(w), (std::vector<std::u16string>{u"9999", u"12", u"31", u"10", u"00"}));
}

constexpr TimeStep kUnchanged{};
constexpr TimeStep kRandom{TimeStep::Kind::Random, 0};
constexpr TimeStep kHalfHour{TimeStep::Kind::HalfHour, 0};
constexpr TimeStep Hours(int n) { return {TimeStep::Kind::Hours, n}; }

TEST(AdvanceForNextRecord, DatesOfSuccessiveRecords) {
    struct Case {
        const char* name;
        DateFields start;
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
        {"same day, no change, one-digit fields become two digits",
         {u"2026", u"2", u"8", u"7", u"5"},
         DayStep::SameDay,
         kUnchanged,
         {u"2/8/2026 7:5:00", u"02/08/2026 07:05:00", u"02/08/2026 07:05:00"},
         {u"2026", u"02", u"08", u"07", u"05"}},
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
        DateFields w = c.start;
        FakeClock clock;
        std::vector<std::u16string> lines;
        for (std::size_t i = 0; i < c.dateLines.size(); ++i) {
            lines.push_back(DateLineText(w));
            AdvanceForNextRecord(m, w, c.dayStep, c.timeStep, clock);
        }
        EXPECT_EQ(lines, c.dateLines);
        EXPECT_EQ(Texts(w), c.fieldsAfter);
        EXPECT_EQ(m.WorkDate, ParseDateFields(w));
        EXPECT_EQ(clock.counterCalls, 0);
    }
}

TEST(AdvanceForNextRecord, WorkDateTextIsTheDayStepReadFromTheFields) {
    StartDates m;
    DateFields w{u"2026", u"12", u"31", u"23", u"00"};
    FakeClock clock;
    AdvanceForNextRecord(m, w, DayStep::OneDay, Hours(2), clock);
    EXPECT_EQ(m.WorkDateText, u"2027/01/01 23:00:00");
    EXPECT_EQ(Texts(w), (std::vector<std::u16string>{u"2027", u"01", u"02", u"01", u"00"}));
    EXPECT_EQ(m.WorkDate, (DateTime{2027, 1, 2, 1, 0, 0}));
}

TEST(AdvanceForNextRecord, FailuresEndTheRecord) {
    struct Case {
        const char* name;
        DateFields fields;
        int expected;
        DayStep dayStep = DayStep::OneDay;
        TimeStep timeStep = kUnchanged;
    };
    const Case cases[] = {
        {"31 April", {u"2026", u"04", u"31", u"00", u"00"}, 13},
        {"letters", {u"2026", u"O4", u"01", u"09", u"00"}, 13},
        {"empty year", {u"", u"04", u"01", u"09", u"00"}, 13},
        {"day step past 9999/12/31", {u"9999", u"12", u"31", u"00", u"00"}, 5},
        {"time step past the last minute", {u"9999", u"12", u"31", u"23", u"59"}, 5, DayStep::SameDay, kHalfHour},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartDates m;
        DateFields w = c.fields;
        FakeClock clock;
        EXPECT_EQ(RunErrorNumber([&] { AdvanceForNextRecord(m, w, c.dayStep, c.timeStep, clock); }), c.expected);
    }
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
            const std::u16string day =
                FormatDateString(AddInterval({2026, 12, 31, 0, 0, 0}, u"d", k * c.daysPerRecord));
            ASSERT_EQ(w.year + u"/" + w.month + u"/" + w.day, day.substr(0, 10));
            ASSERT_EQ(w.hour.size(), 2U);
            ASSERT_EQ(w.minute.size(), 2U);
            // Random times leave the working date at the day step, time of the fields before.
            EXPECT_EQ(FormatDateString(m.WorkDate), m.WorkDateText);
            EXPECT_EQ(m.WorkDate.day, ParseDateFields(w).day);
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
    EXPECT_EQ(Texts(w), startFields);

    // A typed year and "+" three times: the steps start from the working date. Then "-",
    // a typed day, and "元に戻す".
    w.year = u"2030";
    for (int i = 0; i < 3; ++i) {
        StepWorkDate(m, w, u"d", 1);
    }
    EXPECT_EQ(Texts(w), (std::vector<std::u16string>{u"2024", u"03", u"08", u"08", u"07"}));
    StepWorkDate(m, w, u"d", -1);
    EXPECT_EQ(m.WorkDate, (DateTime{2024, 3, 7, 8, 7, 45}));
    EXPECT_EQ(Texts(w), (std::vector<std::u16string>{u"2024", u"03", u"07", u"08", u"07"}));
    w.day = u"20";
    m.WorkDateText = u"changed";
    RestoreStartDate(m, w);
    EXPECT_EQ(Texts(w), startFields);
    EXPECT_EQ(m.WorkDate, *m.StartDate);
    EXPECT_EQ(m.WorkDateText, m.StartDateText);
    EXPECT_EQ(m.StartDateText, u"2024/03/05 08:07:45");
}

}  // namespace
}  // namespace qb
