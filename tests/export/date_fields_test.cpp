#include "export/date_fields.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "common/unicode.h"
#include "support/test_support.h"

namespace qb {
namespace {

std::vector<std::u16string> Texts(const DateFields& f) { return {f.year, f.month, f.day, f.hour, f.minute}; }

TEST(DateFields, TextsOfADate) {
    EXPECT_EQ(FormatDateString({2024, 3, 5, 8, 7, 45}), u"2024/03/05 08:07:45");
    EXPECT_EQ(FormatDateString({999, 1, 1, 0, 0, 0}), u"0999/01/01 00:00:00");
    EXPECT_EQ(FormatDateString({9999, 12, 31, 23, 59, 59}), u"9999/12/31 23:59:59");
    EXPECT_EQ(TwoDigits(0), u"00");
    EXPECT_EQ(TwoDigits(7), u"07");
    EXPECT_EQ(TwoDigits(59), u"59");

    DateFields f{u"x", u"x", u"x", u"x", u"x"};
    FillDateFields(f, u"2024/03/05 08:07:45");
    EXPECT_EQ(Texts(f), (std::vector<std::u16string>{u"2024", u"03", u"05", u"08", u"07"}));
    FillDateFields(f, u"2024/03");
    EXPECT_EQ(Texts(f), (std::vector<std::u16string>{u"2024", u"03", u"", u"", u""}));
    FillDateFields(f, u"");
    EXPECT_EQ(Texts(f), (std::vector<std::u16string>{u"", u"", u"", u"", u""}));
}

// The fields as a person types them; which dates exist is the calendar's table.
TEST(DateFields, ParseAcceptsTypedDatesAndRefusesTheRestWith13) {
    struct Case {
        DateFields fields;
        std::u16string_view expected;  // empty: RunError 13
    };
    const Case cases[] = {
        {{u"2026", u"4", u"1", u"9", u"0"}, u"2026/04/01 09:00:00"},
        {{u" 2026 ", u" 04", u"01 ", u"\t23", u"59"}, u"2026/04/01 23:59:00"},
        {{u"2024", u"02", u"29", u"00", u"00"}, u"2024/02/29 00:00:00"},
        {{u"100", u"1", u"1", u"0", u"0"}, u"0100/01/01 00:00:00"},
        {{u"0999", u"12", u"31", u"0", u"0"}, u"0999/12/31 00:00:00"},
        {{u"9999", u"12", u"31", u"23", u"59"}, u"9999/12/31 23:59:00"},
        {{u"2026", u"2", u"29", u"0", u"0"}, u""},
        {{u"2026", u"1", u"1", u"24", u"0"}, u""},
        {{u"099", u"4", u"1", u"0", u"0"}, u""},
        {{u"10000", u"4", u"1", u"0", u"0"}, u""},
        {{u"2026", u"004", u"1", u"0", u"0"}, u""},
        {{u"2026", u"4a", u"1", u"0", u"0"}, u""},
        {{u"abcd", u"4", u"1", u"0", u"0"}, u""},
        {{u"2026", u"", u"1", u"0", u"0"}, u""},
        {{u"2026", u"4", u"1", u"  ", u"0"}, u""},
        {{u"2026", u"+4", u"1", u"0", u"0"}, u""},
        {{u"2026", u"4", u"1", u"-1", u"0"}, u""},
        {{u"2026", u"1 2", u"1", u"0", u"0"}, u""},
        {{u"2026", u"4.0", u"1", u"0", u"0"}, u""},
        {{u"2026", u"\uFF14", u"1", u"0", u"0"}, u""},  // a full-width digit
    };
    for (const Case& c : cases) {
        const DateFields& f = c.fields;
        SCOPED_TRACE(Utf16ToUtf8(f.year + u"|" + f.month + u"|" + f.day + u"|" + f.hour + u"|" + f.minute));
        if (c.expected.empty()) {
            EXPECT_EQ(qbtest::RunErrorNumber([&] { (void)ParseDateFields(c.fields); }), 13);
        } else {
            EXPECT_EQ(FormatDateString(ParseDateFields(c.fields)), c.expected);
        }
    }
}

}  // namespace
}  // namespace qb
