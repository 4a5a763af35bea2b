#pragma once
// A local calendar date and time, years 100 to 9999: the range the date fields accept.

#include <compare>

namespace qb {

struct DateTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;

    auto operator<=>(const DateTime&) const = default;
};

}  // namespace qb
