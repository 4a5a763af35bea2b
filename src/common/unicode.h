#pragma once
// Standard UTF-8 <-> UTF-16 conversion for paths and terminal text (not the import
// file's own UTF-8 encoder, which encodes code units one by one).

#include <cstddef>
#include <string>
#include <string_view>

namespace qb {

// Ill-formed input becomes U+FFFD.
[[nodiscard]] std::string Utf16ToUtf8(std::u16string_view text);
[[nodiscard]] std::u16string Utf8ToUtf16(std::string_view text);

// The character of text at i, a surrogate pair taken as one, and i moved past it. A
// surrogate that is not part of a pair comes back as it is.
[[nodiscard]] char32_t NextCodePoint(std::u16string_view text, std::size_t& i);
// Appends the UTF-8 of one code point (U+D800..U+DFFF are written like any other).
void AppendCodePointUtf8(char32_t c, std::string& out);

}  // namespace qb
