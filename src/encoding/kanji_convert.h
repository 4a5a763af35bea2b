#pragma once
// The Shift_JIS to EUC-JP conversion of kanji_stream.h on whole arrays, for callers that
// hold all of their input: each call feeds it to a stream as one piece and ends it, so it
// gives the same bytes and throws the same RunError (6 or 9) as the stream.

#include <cstdint>
#include <string_view>
#include <vector>

namespace qb {

using ByteArray = std::vector<std::uint8_t>;

// Stage 1 only (SjisToJisStream).
[[nodiscard]] ByteArray SjisToJis(const ByteArray& bytes);

// Stage 2 only (JisToEucStream).
[[nodiscard]] ByteArray JisToEuc(const ByteArray& bytes);

// Both stages, always.
[[nodiscard]] ByteArray SjisToEuc(const ByteArray& bytes);

// The text in code page 932, then both stages.
[[nodiscard]] ByteArray StrToEuc(std::u16string_view text);

}  // namespace qb
