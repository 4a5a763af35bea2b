#pragma once
// Entry dates: the start date kept from one run to the next, stepping it by days, hours or
// minutes, and moving it on from one future entry to the next. The calendar is in
// calendar.h, the fields and their texts in date_fields.h, the random time of day in
// random_draw.h.

#include <optional>
#include <string>
#include <string_view>

#include "export/calendar.h"
#include "export/clock.h"
#include "export/date_fields.h"
#include "export/date_time.h"
#include "export/export_settings.h"
#include "export/random_draw.h"

namespace qb {

// The start date that lives from one run to the next, owned by whoever drives the export:
// the saved one (blank until start-up) and the working one.
struct StartDates {
    std::optional<DateTime> StartDate;
    std::u16string StartDateText;
    DateTime WorkDate{};
    std::u16string WorkDateText;
};

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

// StartDate, StartDateText, WorkDate, WorkDateText and the fields set to the present moment.
void ResetStartDateToNow(StartDates& dates, DateFields& fields, Clock& clock);

// The saved start date back into the fields and the working date: day steps and typing
// since start-up or the last export are undone.
void RestoreStartDate(StartDates& dates, DateFields& fields);

}  // namespace qb
