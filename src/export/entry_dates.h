#pragma once
// Entry dates: the date string form, the five start-date fields, stepping the start date
// by days, hours or minutes, moving it on from one future entry to the next, and the
// random time of day.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "export/clock.h"
#include "export/date_time.h"
#include "export/export_settings.h"

namespace qb {

// The start date that lives from one run to the next, owned by whoever drives the export:
// the saved one (blank until start-up), the working one, and the last step taken.
struct StartDates {
    std::optional<DateTime> StartDate;
    std::u16string StartDateText;
    DateTime WorkDate{};
    std::u16string WorkDateText;
    std::optional<DateTime> StepDate;
    std::u16string StepDateText;
};

// Thrown by RandomBelow when the high-resolution counter cannot be read: the caller
// shows "現在の環境では使用できません" (critical icon, caption kCounterFailureCaption)
// and the program ends.
struct CounterUnavailable {};

// "yyyy/MM/dd hh:mm:ss", 19 characters, 24-hour clock.
[[nodiscard]] std::u16string FormatDateString(const DateTime& value);

// Reads five field texts as a date and time (second 0), as a person would type them:
// one or two digits, surrounding spaces. Anything that is not a real calendar date and
// time in years 100 to 9999 throws RunError 13.
[[nodiscard]] DateTime ParseDateFields(std::u16string_view year, std::u16string_view month, std::u16string_view day,
                                       std::u16string_view hour, std::u16string_view minute);

// Calendar arithmetic: interval u"d", u"h" or u"n" (days, hours, minutes). A result
// outside years 100 to 9999 throws RunError 5.
[[nodiscard]] DateTime AddInterval(const DateTime& value, std::u16string_view interval, long long amount);

// Writes the five parts of a date string into the fields.
void ShowStartDate(DateFields& fields, std::u16string_view dateString);

// WorkDate moved by amount units of interval, shown in the fields. Throws RunError 5 when
// the result would leave years 100 to 9999, before anything has changed, so that a caller
// that catches it (a day step asked for by the user) keeps the date as it was.
void StepWorkDate(StartDates& dates, DateFields& fields, std::u16string_view interval, long long amount);

// Moves the start date on after a future entry's DATE line: by the day step from the date
// the fields show (the user may have typed it), then by the time step from the result as
// the fields show it. The next record's DATE line is read from the fields.
// Throws RunError 13 for fields that are not a date, RunError 5 for a step out of range,
// CounterUnavailable from RandomBelow.
void AdvanceForNextRecord(StartDates& dates, DateFields& fields, DayStep dayStep, TimeStep timeStep, Clock& clock);

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

// StartDate, StartDateText, WorkDate, WorkDateText and the fields set to the present moment.
void ResetStartDateToNow(StartDates& dates, DateFields& fields, Clock& clock);

// The saved start date back into the fields and the working date: day steps and typing
// since start-up or the last export are undone.
void RestoreStartDate(StartDates& dates, DateFields& fields);

}  // namespace qb
