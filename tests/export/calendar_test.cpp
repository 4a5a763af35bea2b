#include "export/calendar.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <string_view>

#include "common/unicode.h"
#include "export/date_fields.h"
#include "support/test_support.h"

namespace qb {
namespace {

constexpr long long kMost = std::numeric_limits<long long>::max();
constexpr long long kLeast = std::numeric_limits<long long>::min();

// One table for the calendar: month ends, leap days, the limits of years 100 to 9999,
// dates that do not exist (moved by 0) and the interval letters.
TEST(Calendar, AddInterval) {
    struct Case {
        DateTime from;
        std::u16string_view interval;
        long long amount;
        std::u16string_view expected;  // empty: RunError 5
    };
    const Case cases[] = {
        {{2024, 2, 28, 10, 0, 0}, u"d", 1, u"2024/02/29 10:00:00"},
        {{2024, 2, 29, 10, 0, 0}, u"d", 1, u"2024/03/01 10:00:00"},
        {{2100, 2, 28, 10, 0, 0}, u"d", 1, u"2100/03/01 10:00:00"},
        {{2000, 2, 28, 10, 0, 0}, u"d", 1, u"2000/02/29 10:00:00"},
        {{2024, 3, 1, 9, 30, 0}, u"d", -1, u"2024/02/29 09:30:00"},
        {{2026, 3, 1, 8, 0, 0}, u"d", -1, u"2026/02/28 08:00:00"},
        {{2026, 1, 31, 8, 7, 45}, u"d", 1, u"2026/02/01 08:07:45"},
        {{2027, 1, 1, 8, 0, 0}, u"d", -1, u"2026/12/31 08:00:00"},
        {{2026, 12, 30, 23, 0, 0}, u"d", 3, u"2027/01/02 23:00:00"},
        {{2026, 12, 31, 23, 0, 0}, u"h", 2, u"2027/01/01 01:00:00"},
        {{2026, 6, 1, 1, 0, 0}, u"h", -2, u"2026/05/31 23:00:00"},
        {{2026, 12, 31, 23, 45, 0}, u"n", 30, u"2027/01/01 00:15:00"},
        {{2026, 3, 1, 0, 10, 0}, u"n", -30, u"2026/02/28 23:40:00"},
        {{9999, 12, 31, 23, 0, 0}, u"n", 59, u"9999/12/31 23:59:00"},
        {{100, 1, 1, 0, 0, 0}, u"d", 3615899, u"9999/12/31 00:00:00"},
        {{9999, 12, 31, 23, 0, 0}, u"d", -3615898, u"0100/01/02 23:00:00"},
        {{9999, 12, 31, 0, 0, 0}, u"d", 1, u""},
        {{9999, 12, 31, 23, 0, 0}, u"h", 1, u""},
        {{9999, 12, 31, 23, 59, 0}, u"n", 1, u""},
        {{100, 1, 1, 0, 0, 0}, u"d", -1, u""},
        {{2026, 1, 1, 0, 0, 0}, u"d", kMost, u""},
        {{2026, 1, 1, 0, 0, 0}, u"n", kLeast, u""},
        {{2026, 4, 31, 0, 0, 0}, u"d", 0, u""},
        {{2026, 2, 29, 0, 0, 0}, u"d", 0, u""},
        {{2100, 2, 29, 0, 0, 0}, u"d", 0, u""},
        {{2026, 13, 1, 0, 0, 0}, u"d", 0, u""},
        {{2026, 1, 0, 0, 0, 0}, u"d", 0, u""},
        {{2026, 1, 1, 24, 0, 0}, u"d", 0, u""},
        {{2026, 1, 1, 0, 60, 0}, u"d", 0, u""},
        {{2026, 1, 1, 0, 0, 60}, u"d", 0, u""},
        {{99, 12, 31, 0, 0, 0}, u"d", 0, u""},
        {{10000, 1, 1, 0, 0, 0}, u"d", 0, u""},
        {{65636, 1, 1, 0, 0, 0}, u"d", 0, u""},   // 100 in the low 16 bits
        {{2026, 257, 1, 0, 0, 0}, u"d", 0, u""},  // 1 in the low 8 bits
        {{0, 0, 0, 0, 0, 0}, u"d", 0, u""},       // never set
        {{2026, 1, 1, 0, 0, 0}, u"m", 1, u""},
        {{2026, 1, 1, 0, 0, 0}, u"", 1, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf16ToUtf8(FormatDateString(c.from)) + " " + Utf16ToUtf8(c.interval) + " " +
                     std::to_string(c.amount));
        if (c.expected.empty()) {
            EXPECT_EQ(qbtest::RunErrorNumber([&] { (void)AddInterval(c.from, c.interval, c.amount); }), 5);
        } else {
            EXPECT_EQ(FormatDateString(AddInterval(c.from, c.interval, c.amount)), c.expected);
        }
    }
}

}  // namespace
}  // namespace qb
