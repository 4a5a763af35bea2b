#include "encoding/utf8_encode.h"

#include <limits>

#include "common/run_error.h"

namespace qb {

void AppendUtf8(std::u16string_view text, std::string& out) {
    // Sized for three bytes per code unit, the most any needs, then cut to what was written.
    const std::size_t base = out.size();
    out.resize(base + text.size() * 3);
    char* p = out.data() + base;
    for (const char16_t c : text) {
        const unsigned u = c;
        if (u <= 0x7F) {
            *p++ = static_cast<char>(u);
        } else if (u <= 0x7FF) {
            *p++ = static_cast<char>(0xC0U | (u >> 6U));
            *p++ = static_cast<char>(0x80U | (u & 0x3FU));
        } else {
            *p++ = static_cast<char>(0xE0U | (u >> 12U));
            *p++ = static_cast<char>(0x80U | ((u & 0xFC0U) >> 6U));
            *p++ = static_cast<char>(0x80U | (u & 0x3FU));
        }
    }
    out.resize(static_cast<std::size_t>(p - out.data()));
}

std::int32_t EncodeUtf8(std::u16string_view text, std::vector<std::uint8_t>& bytes) {
    if (text.empty()) {
        return 0;
    }
    // Three bytes per code unit is the most any text needs; the count is a signed
    // 32-bit number, so a buffer that large must fit one.
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max() / 3)) {
        throw RunError(err::kOverflow, "text too long for the UTF-8 byte count");
    }
    std::string out;
    AppendUtf8(text, out);
    bytes.assign(out.begin(), out.end());
    return static_cast<std::int32_t>(bytes.size());
}

}  // namespace qb
