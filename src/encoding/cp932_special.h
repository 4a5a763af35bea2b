#pragma once
// The single bytes that Windows' code page 932 maps to code points of their own and
// that other converters reject. Shared by every platform's converter.

#include <optional>

namespace qb::cp932::detail {

[[nodiscard]] constexpr std::optional<char16_t> SpecialByteToChar(unsigned char b) {
    switch (b) {
    case 0x80:
        return u'\u0080';
    case 0xA0:
        return u'\uF8F0';
    case 0xFD:
        return u'\uF8F1';
    case 0xFE:
        return u'\uF8F2';
    case 0xFF:
        return u'\uF8F3';
    default:
        return std::nullopt;
    }
}

[[nodiscard]] constexpr std::optional<unsigned char> SpecialCharToByte(char16_t c) {
    switch (c) {
    case u'\u0080':
        return 0x80;
    case u'\uF8F0':
        return 0xA0;
    case u'\uF8F1':
        return 0xFD;
    case u'\uF8F2':
        return 0xFE;
    case u'\uF8F3':
        return 0xFF;
    default:
        return std::nullopt;
    }
}

[[nodiscard]] constexpr bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
[[nodiscard]] constexpr bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace qb::cp932::detail
