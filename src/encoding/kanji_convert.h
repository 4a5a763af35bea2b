#pragma once
// Shift_JIS to EUC-JP in two stages, by arithmetic rather than tables: Shift_JIS bytes
// become a 7-bit JIS stream (ESC $ B kanji, ESC ( J roman, ESC ( I half-width kana,
// starting in roman mode, no escape at the end), and that stream becomes EUC-JP.
// Each call converts one whole array through the streams of kanji_stream.h, which
// convert piece by piece.
//
// Every computed byte is range-tested. Failures throw RunError: 6 when a computed byte
// leaves 0..255, 9 when the conversion reads past the end of its input and for an empty
// input. A zero byte is data like any other.

#include <cstdint>
#include <string_view>
#include <vector>

namespace qb {

using ByteArray = std::vector<std::uint8_t>;

// Stage 1: any byte 0x80..0xA0 or 0xE0..0xFF starts a two-byte character and takes
// the next byte, whatever it is, as its second byte.
[[nodiscard]] ByteArray SjisToJis(const ByteArray& bytes);

// Stage 2: takes ESC $ B and ESC $ @ (kanji), ESC ( J (roman), ESC ( I (kana); any other
// ESC is dropped and the bytes after it are read as data in the current mode.
[[nodiscard]] ByteArray JisToEuc(const ByteArray& bytes);

// Both stages, always.
[[nodiscard]] ByteArray SjisToEuc(const ByteArray& bytes);

// The text in code page 932, then both stages.
[[nodiscard]] ByteArray StrToEuc(std::u16string_view text);

}  // namespace qb
