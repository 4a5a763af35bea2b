#pragma once
// The calendar: which dates and times exist in years 100 to 9999, and moving one by days,
// hours or minutes. Built on the standard library's civil calendar (std::chrono).

#include <string_view>

#include "export/date_time.h"

namespace qb {

// Whether value is a real calendar date and time in years 100 to 9999.
[[nodiscard]] bool IsValidDateTime(const DateTime& value);

// value moved by amount units of interval: u"d" (days), u"h" (hours) or u"n" (minutes).
// Days roll over months and years; hours and minutes roll over days. Throws RunError 5 for
// any other interval, for a value that is not a valid date and time, and for a result
// outside years 100 to 9999.
[[nodiscard]] DateTime AddInterval(const DateTime& value, std::u16string_view interval, long long amount);

}  // namespace qb
