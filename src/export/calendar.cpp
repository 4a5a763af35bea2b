#include "export/calendar.h"

#include <chrono>

#include "common/run_error.h"

namespace qb {

namespace {

namespace chr = std::chrono;

constexpr int kFirstYear = 100;
constexpr int kLastYear = 9999;

// The first and the last second that a date and time can name.
constexpr chr::sys_seconds kFirst{chr::sys_days{chr::year{kFirstYear} / chr::January / 1}};
constexpr chr::sys_seconds kLast =
    chr::sys_days{chr::year{kLastYear} / chr::December / 31} + chr::hours{23} + chr::minutes{59} + chr::seconds{59};

chr::sys_seconds ToTimePoint(const DateTime& value) {
    const chr::sys_days day{chr::year{value.year} / value.month / value.day};
    return day + chr::hours{value.hour} + chr::minutes{value.minute} + chr::seconds{value.second};
}

DateTime FromTimePoint(chr::sys_seconds moment) {
    const chr::sys_days day = chr::floor<chr::days>(moment);
    const chr::year_month_day date{day};
    const chr::hh_mm_ss time{moment - day};
    return DateTime{static_cast<int>(date.year()),
                    static_cast<int>(static_cast<unsigned>(date.month())),
                    static_cast<int>(static_cast<unsigned>(date.day())),
                    static_cast<int>(time.hours().count()),
                    static_cast<int>(time.minutes().count()),
                    static_cast<int>(time.seconds().count())};
}

// The length of one unit of an interval letter.
chr::seconds IntervalUnit(std::u16string_view interval) {
    if (interval == u"d") {
        return chr::days{1};
    }
    if (interval == u"h") {
        return chr::hours{1};
    }
    if (interval == u"n") {
        return chr::minutes{1};
    }
    throw RunError(err::kInvalidCall, "unknown date interval");
}

}  // namespace

bool IsValidDateTime(const DateTime& value) {
    // The ranges first: std::chrono's year, month and day keep only the low bits of what
    // they are given.
    if (value.year < kFirstYear || value.year > kLastYear || value.month < 1 || value.month > 12 || value.day < 1 ||
        value.day > 31) {
        return false;
    }
    const chr::year_month_day date{chr::year{value.year} / value.month / value.day};
    return date.ok() && value.hour >= 0 && value.hour <= 23 && value.minute >= 0 && value.minute <= 59 &&
           value.second >= 0 && value.second <= 59;
}

DateTime AddInterval(const DateTime& value, std::u16string_view interval, long long amount) {
    const chr::seconds unit = IntervalUnit(interval);
    if (!IsValidDateTime(value)) {
        throw RunError(err::kInvalidCall, "date out of range");
    }
    const chr::sys_seconds from = ToTimePoint(value);
    // The furthest amounts either way that stay within the range; checked before the
    // multiplication, which therefore cannot overflow.
    if (amount > (kLast - from) / unit || amount < (kFirst - from) / unit) {
        throw RunError(err::kInvalidCall, "date out of range");
    }
    return FromTimePoint(from + amount * unit);
}

}  // namespace qb
