#include "files/paths.h"

#ifndef _WIN32
#include "common/unicode.h"
#include "common/utf8_decode.h"
#endif

namespace qb {

#ifndef _WIN32
namespace {

// A byte of a file name that is not UTF-8 is carried as the lone surrogate U+DC80..U+DCFF
// (0xDC00 + the byte), so that the name comes back byte for byte.
constexpr char16_t kEscapedByteBase = 0xDC00;

bool IsEscapedByte(char32_t c) { return c >= 0xDC80 && c <= 0xDCFF; }

// UTF-16 to UTF-8 where each escaped byte becomes that byte again.
std::string ToUtf8Unescaped(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = NextCodePoint(text, i);
        if (IsEscapedByte(c)) {
            out.push_back(static_cast<char>(c - kEscapedByteBase));
        } else {
            AppendCodePointUtf8(c >= 0xD800 && c <= 0xDFFF ? 0xFFFD : c, out);
        }
    }
    return out;
}

// UTF-8 to UTF-16 where every byte that is not part of a well-formed character is
// escaped by itself (file names, which are bytes here).
std::u16string ToUtf16Escaped(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    Utf8Sequence sequence;
    std::size_t start = 0;  // where the character being read began
    const auto escape = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            out.push_back(static_cast<char16_t>(kEscapedByteBase + static_cast<unsigned char>(text[i])));
        }
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!sequence.Open()) {
            start = i;
        }
        const auto byte = static_cast<unsigned char>(text[i]);
        Utf8Sequence::Step step = sequence.Take(byte);
        if (step == Utf8Sequence::Step::BadAgain) {
            escape(start, i);
            start = i;
            step = sequence.Take(byte);
        }
        if (step == Utf8Sequence::Step::Char) {
            AppendCodePoint(sequence.CodePoint(), out);
        } else if (step == Utf8Sequence::Step::Bad) {
            escape(i, i + 1);
        }
    }
    if (sequence.Open()) {
        escape(start, text.size());
    }
    return out;
}

}  // namespace
#endif

std::filesystem::path ToPath(std::u16string_view text) {
#ifdef _WIN32
    return std::filesystem::path(std::wstring(text.begin(), text.end()));
#else
    return std::filesystem::path(ToUtf8Unescaped(text));
#endif
}

std::u16string FromPath(const std::filesystem::path& path) {
#ifdef _WIN32
    const std::wstring& native = path.native();
    return std::u16string(native.begin(), native.end());
#else
    return ToUtf16Escaped(path.native());
#endif
}

}  // namespace qb
