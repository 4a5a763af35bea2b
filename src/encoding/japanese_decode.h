#pragma once
// Japanese text in Shift_JIS (code page 932) or EUC-JP, read into UTF-16 the same way on
// every platform, with whether every byte belonged to a character. EUC-JP is read
// through code page 932: a JIS X 0208 character is turned back into its Shift_JIS bytes
// by the JIS arithmetic, a half-width katakana (SS2) into its single byte.

#include <string>
#include <string_view>

namespace qb {

struct DecodedText {
    std::u16string text;
    // False when some byte was no character: it became U+30FB, as in cp932.h.
    bool clean = true;
};

// Code page 932 as cp932::Decode reads it. Windows' own single bytes 0x80, 0xA0 and
// 0xFD..0xFF, and pairs the code page leaves unassigned, count as no character here.
[[nodiscard]] DecodedText DecodeShiftJis(std::string_view bytes);

// EUC-JP: ASCII; 0xA1..0xFE pairs (JIS X 0208, with the NEC and IBM rows of code page
// 932); 0x8E and a byte 0xA1..0xDF (half-width katakana). A JIS X 0212 character (0x8F
// and two bytes) becomes one U+30FB; any other byte that starts no character, one U+30FB
// each, and reading goes on at the next byte.
[[nodiscard]] DecodedText DecodeEucJp(std::string_view bytes);

}  // namespace qb
