#pragma once
// The arithmetic of the Shift_JIS to JIS stage (kanji_stream.cpp), and its reverse for
// reading EUC-JP text.

#include <cstdint>

namespace qb::detail {

struct JisPair {
    int c1;
    int c2;
};

// A Shift_JIS first and second byte to the two JIS bytes, before range-testing. Any
// second byte is taken; a result outside 0..255 is caught by CheckedByte.
[[nodiscard]] constexpr JisPair SjisPairToJis(int c1, int c2) {
    if (c1 >= 0xE0) {
        c1 -= 0x40;
    }
    if (c2 >= 0x80) {
        c2 -= 1;
    }
    if (c2 >= 0x9E) {
        return {(c1 - 0x70) * 2, c2 - 0x7D};
    }
    return {(c1 - 0x70) * 2 - 1, c2 - 0x1F};
}

// The reverse for a JIS X 0208 character (both bytes 0x21..0x7E): its Shift_JIS bytes.
[[nodiscard]] constexpr JisPair JisPairToSjis(int c1, int c2) {
    int s1 = (c1 + 1) / 2 + 0x70;
    if (s1 >= 0xA0) {
        s1 += 0x40;
    }
    if (c1 % 2 == 0) {
        return {s1, c2 + 0x7E};
    }
    const int s2 = c2 + 0x1F;
    return {s1, s2 >= 0x7F ? s2 + 1 : s2};
}

// Throws the overflow failure (6) for a computed value outside 0..255. Kept out of line
// so that CheckedByte stays small enough to inline in the conversion loops.
[[noreturn]] void ThrowByteOverflow(int value);

// Stores a computed value into a byte; a value outside 0..255 is an overflow (6).
[[nodiscard]] inline std::uint8_t CheckedByte(int value) {
    if (value < 0 || value > 0xFF) [[unlikely]] {
        ThrowByteOverflow(value);
    }
    return static_cast<std::uint8_t>(value);
}

}  // namespace qb::detail
