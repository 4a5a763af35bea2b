#include "export/entry_dates.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>

#include "common/run_error.h"

namespace qb {

namespace {

constexpr int kMinYear = 100;
constexpr int kMaxYear = 9999;
constexpr long long kSecondsPerDay = 86400;

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && IsLeapYear(year)) {
        return 29;
    }
    return kDays[month - 1];
}

bool IsValid(const DateTime& v) {
    return v.year >= kMinYear && v.year <= kMaxYear && v.month >= 1 && v.month <= 12 && v.day >= 1 &&
           v.day <= DaysInMonth(v.year, v.month) && v.hour >= 0 && v.hour <= 23 && v.minute >= 0 && v.minute <= 59 &&
           v.second >= 0 && v.second <= 59;
}

// Days since 1970-01-01 of a proleptic Gregorian date (Howard Hinnant's algorithm).
long long DaysFromCivil(int year, int month, int day) {
    const long long y = static_cast<long long>(year) - (month <= 2 ? 1 : 0);
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long mp = (month + 9) % 12;
    const long long doy = (153 * mp + 2) / 5 + day - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

DateTime CivilFromDays(long long days) {
    const long long z = days + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const long long day = doy - (153 * mp + 2) / 5 + 1;
    const long long month = mp < 10 ? mp + 3 : mp - 9;
    const long long year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    DateTime out;
    out.year = static_cast<int>(year);
    out.month = static_cast<int>(month);
    out.day = static_cast<int>(day);
    return out;
}

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string_view Trim(std::u16string_view text) {
    while (!text.empty() && IsSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// A field of minDigits to maxDigits ASCII digits, spaces around it allowed; nothing else.
int ReadNumberField(std::u16string_view text, std::size_t minDigits, std::size_t maxDigits) {
    const std::u16string_view digits = Trim(text);
    if (digits.size() < minDigits || digits.size() > maxDigits) {
        throw RunError(err::kTypeMismatch, "not a date");
    }
    int value = 0;
    for (const char16_t c : digits) {
        if (c < u'0' || c > u'9') {
            throw RunError(err::kTypeMismatch, "not a date");
        }
        value = value * 10 + (c - u'0');
    }
    return value;
}

void AppendPadded(std::u16string& out, int value, int width) {
    std::u16string digits;
    unsigned magnitude = value < 0 ? 0U : static_cast<unsigned>(value);
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    for (auto n = static_cast<int>(digits.size()); n < width; ++n) {
        out.push_back(u'0');
    }
    out += digits;
}

std::u16string TwoDigits(int value) {
    std::u16string out;
    AppendPadded(out, value, 2);
    return out;
}

// Characters [start, start + length) counted from 1, as far as the text reaches.
std::u16string Mid(std::u16string_view text, std::size_t start, std::size_t length) {
    if (start - 1 >= text.size()) {
        return {};
    }
    return std::u16string(text.substr(start - 1, length));
}

}  // namespace

std::u16string FormatDateString(const DateTime& value) {
    std::u16string out;
    out.reserve(19);
    AppendPadded(out, value.year, 4);
    out.push_back(u'/');
    AppendPadded(out, value.month, 2);
    out.push_back(u'/');
    AppendPadded(out, value.day, 2);
    out.push_back(u' ');
    AppendPadded(out, value.hour, 2);
    out.push_back(u':');
    AppendPadded(out, value.minute, 2);
    out.push_back(u':');
    AppendPadded(out, value.second, 2);
    return out;
}

DateTime ParseDateFields(std::u16string_view year, std::u16string_view month, std::u16string_view day,
                         std::u16string_view hour, std::u16string_view minute) {
    DateTime value;
    value.year = ReadNumberField(year, 1, 4);
    value.month = ReadNumberField(month, 1, 2);
    value.day = ReadNumberField(day, 1, 2);
    value.hour = ReadNumberField(hour, 1, 2);
    value.minute = ReadNumberField(minute, 1, 2);
    value.second = 0;
    if (!IsValid(value)) {
        throw RunError(err::kTypeMismatch, "not a date");
    }
    return value;
}

DateTime AddInterval(const DateTime& value, std::u16string_view interval, long long amount) {
    long long unitSeconds = 0;
    if (interval == u"d") {
        unitSeconds = kSecondsPerDay;
    } else if (interval == u"h") {
        unitSeconds = 3600;
    } else if (interval == u"n") {
        unitSeconds = 60;
    } else {
        throw RunError(err::kInvalidCall, "unknown date interval");
    }
    if (!IsValid(value)) {
        throw RunError(err::kInvalidCall, "date out of range");
    }
    // Far more than the whole range of years 100 to 9999; keeps the product below in range.
    constexpr long long kMaxSpanDays = 4'000'000;
    if (amount > kMaxSpanDays * kSecondsPerDay / unitSeconds || amount < -kMaxSpanDays * kSecondsPerDay / unitSeconds) {
        throw RunError(err::kInvalidCall, "date out of range");
    }
    const long long start = DaysFromCivil(value.year, value.month, value.day) * kSecondsPerDay + value.hour * 3600LL +
                            value.minute * 60LL + value.second;
    const long long total = start + amount * unitSeconds;
    const long long days = total >= 0 ? total / kSecondsPerDay : (total - (kSecondsPerDay - 1)) / kSecondsPerDay;
    const long long secondOfDay = total - days * kSecondsPerDay;

    DateTime out = CivilFromDays(days);
    if (out.year < kMinYear || out.year > kMaxYear) {
        throw RunError(err::kInvalidCall, "date out of range");
    }
    out.hour = static_cast<int>(secondOfDay / 3600);
    out.minute = static_cast<int>(secondOfDay % 3600 / 60);
    out.second = static_cast<int>(secondOfDay % 60);
    return out;
}

void ShowStartDate(DateFields& fields, std::u16string_view dateString) {
    fields.year = Mid(dateString, 1, 4);
    fields.month = Mid(dateString, 6, 2);
    fields.day = Mid(dateString, 9, 2);
    fields.hour = Mid(dateString, 12, 2);
    fields.minute = Mid(dateString, 15, 2);
}

void StepWorkDate(StartDates& dates, DateFields& fields, std::u16string_view interval, long long amount) {
    // Computed first: a step out of range throws before anything has changed.
    const DateTime stepped = AddInterval(dates.WorkDate, interval, amount);
    dates.StepDate = stepped;
    dates.WorkDate = stepped;
    dates.StepDateText = FormatDateString(stepped);
    ShowStartDate(fields, dates.StepDateText);
}

namespace {

DateTime ParseFields(const DateFields& f) { return ParseDateFields(f.year, f.month, f.day, f.hour, f.minute); }

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

void AdvanceForNextRecord(StartDates& dates, DateFields& fields, DayStep dayStep, TimeStep timeStep, Clock& clock) {
    dates.WorkDate = ParseFields(fields);
    StepWorkDate(dates, fields, u"d", DaysOf(dayStep));

    dates.WorkDateText =
        fields.year + u"/" + fields.month + u"/" + fields.day + u" " + fields.hour + u":" + fields.minute + u":00";
    dates.WorkDate = ParseFields(fields);

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

int DiscardCountFromCounter(std::uint64_t counter) {
    for (int dropped = 0; dropped < 4 && counter != 0 && counter % 10 == 0; ++dropped) {
        counter /= 10;
    }
    return static_cast<int>(counter % 1000);
}

void CheckRandomBound(int n) {
    if (n <= 0) {
        throw RunError(err::kInvalidCall, "RandomBelow needs a positive bound");
    }
}

std::uint64_t ReadCounter(Clock& clock) {
    const std::optional<std::uint64_t> counter = clock.PerformanceCounter();
    if (!counter) {
        throw CounterUnavailable{};
    }
    return *counter;
}

int ScaleBelow(std::uint64_t bits, int n) {
    // The top 53 bits make a double uniform in [0, 1).
    const double r = static_cast<double>(bits >> 11) * 0x1.0p-53;
    const auto result = static_cast<int>(std::floor(r * n));
    return std::min(result, n - 1);
}

int RandomBelow(int n, Clock& clock) { return RandomBelowFrom<std::mt19937_64>(n, clock); }

void ResetStartDateToNow(StartDates& dates, DateFields& fields, Clock& clock) {
    const DateTime now = clock.Now();
    dates.StartDateText = FormatDateString(now);
    dates.StartDate = now;
    dates.WorkDate = now;
    dates.WorkDateText = dates.StartDateText;
    ShowStartDate(fields, dates.WorkDateText);
}

void RestoreStartDate(StartDates& dates, DateFields& fields) {
    ShowStartDate(fields, dates.StartDateText);
    // Start-up always sets the saved date; a blank one leaves the working date as it is.
    if (dates.StartDate) {
        dates.WorkDate = *dates.StartDate;
    }
    dates.WorkDateText = dates.StartDateText;
}

}  // namespace qb
