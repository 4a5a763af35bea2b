#include "encoding/unicode.h"

#include "encoding/utf8_decode.h"

namespace qb {

namespace {

// A byte of a file name that is not UTF-8 is carried as the lone surrogate U+DC80..U+DCFF
// (0xDC00 + the byte), so that the name comes back byte for byte.
constexpr char16_t kEscapedByteBase = 0xDC00;

bool IsEscapedByte(char16_t c) { return c >= 0xDC80 && c <= 0xDCFF; }

std::string ToUtf8(std::u16string_view text, bool unescapeBytes) {
    std::string out;
    out.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (unescapeBytes && IsEscapedByte(text[i])) {
            out.push_back(static_cast<char>(c - kEscapedByteBase));
            continue;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

#ifndef _WIN32
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
#endif

}  // namespace

std::string Utf16ToUtf8(std::u16string_view text) { return ToUtf8(text, false); }

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    Utf8Decoder decoder;
    decoder.Feed(text, out);
    decoder.Finish(out);
    return out;
}

std::filesystem::path ToPath(std::u16string_view text) {
#ifdef _WIN32
    return std::filesystem::path(std::wstring(text.begin(), text.end()));
#else
    return std::filesystem::path(ToUtf8(text, true));
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
