#include "encoding/japanese_decode.h"

#include "encoding/cp932.h"
#include "encoding/jis_arithmetic.h"

namespace qb {

namespace {

constexpr bool IsSjisLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
constexpr bool IsHalfWidthKana(unsigned char b) { return b >= 0xA1 && b <= 0xDF; }
constexpr bool IsEucByte(unsigned char b) { return b >= 0xA1 && b <= 0xFE; }

// One code page 932 character of one or two bytes, or nothing when the bytes are none.
bool DecodeOne(std::string_view bytes, std::u16string& out) {
    const std::u16string c = cp932::Decode(bytes);
    // U+30FB is also the character 81 45 itself.
    if (c.size() != 1 || (c[0] == cp932::kBadByteChar && bytes != "\x81\x45")) {
        return false;
    }
    out += c;
    return true;
}

}  // namespace

DecodedText DecodeShiftJis(std::string_view bytes) {
    DecodedText result{cp932::Decode(bytes), true};
    const std::size_t n = bytes.size();
    std::u16string scratch;
    for (std::size_t i = 0; i < n && result.clean;) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80 || IsHalfWidthKana(b)) {
            ++i;
        } else if (IsSjisLead(b) && i + 1 < n && DecodeOne(bytes.substr(i, 2), scratch)) {
            i += 2;
        } else {
            result.clean = false;
        }
    }
    return result;
}

DecodedText DecodeEucJp(std::string_view bytes) {
    DecodedText result;
    std::u16string& out = result.text;
    out.reserve(bytes.size());
    const std::size_t n = bytes.size();
    for (std::size_t i = 0; i < n;) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const auto next = static_cast<unsigned char>(i + 1 < n ? bytes[i + 1] : 0);
        if (b < 0x80) {
            out += static_cast<char16_t>(b);
            ++i;
            continue;
        }
        if (b == 0x8E && IsHalfWidthKana(next)) {
            out += cp932::Decode(std::string(1, static_cast<char>(next)));
            i += 2;
            continue;
        }
        if (b == 0x8F && IsEucByte(next) && i + 2 < n && IsEucByte(static_cast<unsigned char>(bytes[i + 2]))) {
            out += cp932::kBadByteChar;  // JIS X 0212, which code page 932 does not hold
            result.clean = false;
            i += 3;
            continue;
        }
        if (IsEucByte(b) && IsEucByte(next)) {
            const detail::JisPair sjis = detail::JisPairToSjis(b - 0x80, next - 0x80);
            const char pair[2] = {static_cast<char>(sjis.c1), static_cast<char>(sjis.c2)};
            if (DecodeOne(std::string_view(pair, 2), out)) {
                i += 2;
                continue;
            }
        }
        out += cp932::kBadByteChar;
        result.clean = false;
        ++i;
    }
    return result;
}

}  // namespace qb
