#pragma once
// The import file's UTF-8 encoder: every UTF-16 code unit is encoded by itself in the
// one-, two- or three-byte form, surrogates included (no four-byte sequences), and no
// byte-order mark is written.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

// Fills bytes with the UTF-8 of text and returns the number of bytes. An empty text
// returns 0 and leaves bytes as it was (the caller takes 0 as failure). Throws
// RunError 6 when the count would not fit a signed 32-bit number.
std::int32_t EncodeUtf8(std::u16string_view text, std::vector<std::uint8_t>& bytes);

// The same encoding, appended to out, for converting a text piece by piece.
void AppendUtf8(std::u16string_view text, std::string& out);

}  // namespace qb
