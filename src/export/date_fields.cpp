#include "export/date_fields.h"

#include <cstddef>

#include "common/run_error.h"
#include "export/calendar.h"

namespace qb {

namespace {

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

// A field of one to maxDigits ASCII digits, spaces around it allowed; nothing else.
int ReadNumberField(std::u16string_view text, std::size_t maxDigits) {
    const std::u16string_view digits = Trim(text);
    if (digits.empty() || digits.size() > maxDigits) {
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

void FillDateFields(DateFields& fields, std::u16string_view dateString) {
    fields.year = Mid(dateString, 1, 4);
    fields.month = Mid(dateString, 6, 2);
    fields.day = Mid(dateString, 9, 2);
    fields.hour = Mid(dateString, 12, 2);
    fields.minute = Mid(dateString, 15, 2);
}

std::u16string TwoDigits(int value) {
    std::u16string out;
    AppendPadded(out, value, 2);
    return out;
}

DateTime ParseDateFields(const DateFields& fields) {
    const DateTime value{ReadNumberField(fields.year, 4),   ReadNumberField(fields.month, 2),
                         ReadNumberField(fields.day, 2),    ReadNumberField(fields.hour, 2),
                         ReadNumberField(fields.minute, 2), 0};
    if (!IsValidDateTime(value)) {
        throw RunError(err::kTypeMismatch, "not a date");
    }
    return value;
}

}  // namespace qb
