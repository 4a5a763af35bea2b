#pragma once
// Dates as the user sees them: the date string form "yyyy/MM/dd hh:mm:ss", the five
// start-date fields (year, month, day, hour, minute) cut from it, and the fields read
// back as a date and time.

#include <string>
#include <string_view>

#include "export/date_time.h"
#include "export/export_settings.h"

namespace qb {

// "yyyy/MM/dd hh:mm:ss", 19 characters, 24-hour clock.
[[nodiscard]] std::u16string FormatDateString(const DateTime& value);

// Writes the five parts of a date string into the fields: characters 1 to 4, 6 to 7,
// 9 to 10, 12 to 13 and 15 to 16. A field the text does not reach is left empty.
void FillDateFields(DateFields& fields, std::u16string_view dateString);

// value in two digits with a leading zero: the text of an hour or a minute.
[[nodiscard]] std::u16string TwoDigits(int value);

// Reads the fields as a date and time (second 0), as a person would type them: one or two
// digits (up to four for the year), surrounding spaces. Anything that is not a real
// calendar date and time in years 100 to 9999 throws RunError 13.
[[nodiscard]] DateTime ParseDateFields(const DateFields& fields);

}  // namespace qb
