// Fuzzes the five start-date fields as the export reads them: the five texts
// give a date exactly when each is one to four (year) or one to two digits between
// spaces or tabs and together they name a real calendar date and time in years 100 to
// 9999; anything else fails with 13 and nothing else. A date read is shown again in the
// fields and read back unchanged, and the advance after a record fails only with 13
// (fields not a date) or 5 (out of range), and leaves fields that read as a date.
//
// Input: the first byte picks the day step and time step; the rest is the five fields
// in UTF-8, separated by "|".

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/run_error.h"
#include "common/unicode.h"
#include "export/entry_dates.h"
#include "fuzz/fuzz_support.h"
#include "support/test_support.h"

namespace {

using qbfuzz::Require;

// The digits of a field between spaces and tabs, when it is that and no more.
std::optional<int> DigitField(std::u16string_view text, std::size_t maxDigits) {
    const std::size_t first = text.find_first_not_of(u" \t");
    if (first == std::u16string_view::npos) {
        return std::nullopt;
    }
    text = text.substr(first, text.find_last_not_of(u" \t") - first + 1);
    if (text.size() > maxDigits) {
        return std::nullopt;
    }
    int value = 0;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = value * 10 + (c - u'0');
    }
    return value;
}

// Whether the fields name a date and time, by the standard library's calendar.
bool NamesADate(const std::vector<std::u16string>& f) {
    const auto y = DigitField(f[0], 4);
    const auto mo = DigitField(f[1], 2);
    const auto d = DigitField(f[2], 2);
    const auto h = DigitField(f[3], 2);
    const auto mi = DigitField(f[4], 2);
    if (!y || !mo || !d || !h || !mi) {
        return false;
    }
    const std::chrono::year_month_day date{std::chrono::year(*y), std::chrono::month(static_cast<unsigned>(*mo)),
                                           std::chrono::day(static_cast<unsigned>(*d))};
    return date.ok() && *y >= 100 && *h <= 23 && *mi <= 59;
}

// ParseDateFields on the fields: the date, or the failure number.
std::optional<qb::DateTime> Parse(const qb::DateFields& fields, int& error) {
    try {
        return qb::ParseDateFields(fields);
    } catch (const qb::RunError& e) {
        error = e.Number();
        return std::nullopt;
    }
}

void Check(std::uint8_t first, std::string_view rest) {
    const std::u16string text = qb::Utf8ToUtf16(rest);
    std::vector<std::u16string> fields(5);
    std::size_t pos = 0;
    for (std::size_t i = 0; i < 5 && pos <= text.size(); ++i) {
        const std::size_t bar = std::min(text.find(u'|', pos), text.size());
        fields[i] = text.substr(pos, bar - pos);
        pos = bar + 1;
    }

    qb::DateFields window{fields[0], fields[1], fields[2], fields[3], fields[4]};
    int error = 0;
    const std::optional<qb::DateTime> date = Parse(window, error);
    Require(date.has_value() == NamesADate(fields), "a date exactly when the fields name one");
    Require(date.has_value() || error == qb::err::kTypeMismatch, "anything else fails with 13");
    if (date) {
        qb::DateFields shown;
        qb::FillDateFields(shown, qb::FormatDateString(*date));
        int again = 0;
        Require(Parse(shown, again) == date, "a date shown in the fields reads back unchanged");
    }

    qb::StartDates dates;
    static constexpr qb::DayStep kDaySteps[] = {qb::DayStep::SameDay, qb::DayStep::OneDay, qb::DayStep::TwoDays,
                                                qb::DayStep::ThreeDays};
    const unsigned timeIndex = (first >> 2U) % 16;
    qb::TimeStep timeStep;
    if (timeIndex == 1) {
        timeStep.kind = qb::TimeStep::Kind::Random;
    } else if (timeIndex == 2) {
        timeStep.kind = qb::TimeStep::Kind::HalfHour;
    } else if (timeIndex >= 3 && timeIndex <= 14) {
        timeStep = {qb::TimeStep::Kind::Hours, static_cast<int>(timeIndex) - 2};
    }
    qbtest::FakeClock clock;
    try {
        qb::AdvanceForNextRecord(dates, window, kDaySteps[first & 3U], timeStep, clock);
        int next = 0;
        Require(Parse(window, next).has_value(), "the advance leaves fields that read as a date");
    } catch (const qb::RunError& e) {
        Require(e.Number() == (date ? qb::err::kInvalidCall : qb::err::kTypeMismatch),
                "the advance fails with 13 on fields that are no date, else only with 5");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return qbfuzz::WithFirstByte(data, size, Check);
}
