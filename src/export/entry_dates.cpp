#include "export/entry_dates.h"

namespace qb {

namespace {

long long DaysOf(DayStep step) {
    switch (step) {
    case DayStep::OneDay:
        return 1;
    case DayStep::TwoDays:
        return 2;
    case DayStep::ThreeDays:
        return 3;
    case DayStep::SameDay:
    case DayStep::NotChosen:  // the run has refused this already
        break;
    }
    return 0;
}

}  // namespace

void StepWorkDate(StartDates& dates, DateFields& fields, std::u16string_view interval, long long amount) {
    // Computed first: a step out of range throws before anything has changed.
    dates.WorkDate = AddInterval(dates.WorkDate, interval, amount);
    FillDateFields(fields, FormatDateString(dates.WorkDate));
}

void AdvanceForNextRecord(StartDates& dates, DateFields& fields, DayStep dayStep, TimeStep timeStep, Clock& clock) {
    dates.WorkDate = ParseDateFields(fields);
    StepWorkDate(dates, fields, u"d", DaysOf(dayStep));

    dates.WorkDateText =
        fields.year + u"/" + fields.month + u"/" + fields.day + u" " + fields.hour + u":" + fields.minute + u":00";
    dates.WorkDate = ParseDateFields(fields);

    switch (timeStep.kind) {
    case TimeStep::Kind::Random:
        // Random time of day; the next record reads it from the fields.
        fields.hour = TwoDigits(RandomBelow(24, clock));
        fields.minute = TwoDigits(RandomBelow(60, clock));
        break;
    case TimeStep::Kind::HalfHour:
        StepWorkDate(dates, fields, u"n", 30);
        break;
    case TimeStep::Kind::Hours:
        StepWorkDate(dates, fields, u"h", timeStep.hours);
        break;
    case TimeStep::Kind::Unchanged:
        StepWorkDate(dates, fields, u"h", 0);
        break;
    }
}

void ResetStartDateToNow(StartDates& dates, DateFields& fields, Clock& clock) {
    const DateTime now = clock.Now();
    dates.StartDateText = FormatDateString(now);
    dates.StartDate = now;
    dates.WorkDate = now;
    dates.WorkDateText = dates.StartDateText;
    FillDateFields(fields, dates.WorkDateText);
}

void RestoreStartDate(StartDates& dates, DateFields& fields) {
    FillDateFields(fields, dates.StartDateText);
    // Start-up always sets the saved date; a blank one leaves the working date as it is.
    if (dates.StartDate) {
        dates.WorkDate = *dates.StartDate;
    }
    dates.WorkDateText = dates.StartDateText;
}

}  // namespace qb
