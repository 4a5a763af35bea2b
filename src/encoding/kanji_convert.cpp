#include "encoding/kanji_convert.h"

#include <string>

#include "common/run_error.h"
#include "encoding/cp932.h"
#include "encoding/jis_arithmetic.h"

namespace qb {

void detail::ThrowByteOverflow(int value) {
    throw RunError(err::kOverflow, "computed byte " + std::to_string(value) + " out of range");
}

namespace {

enum class Mode { Roman, Kanji, Kana };

constexpr std::uint8_t kEsc = 0x1B;

using detail::CheckedByte;

// Reads input[i]; past the end is a subscript failure.
int At(const ByteArray& input, std::size_t i) {
    if (i >= input.size()) {
        throw RunError(err::kSubscript, "read past the end of the input");
    }
    return input[i];
}

void RefuseEmpty(const ByteArray& input) {
    if (input.empty()) {
        throw RunError(err::kSubscript, "empty input");
    }
}

void PutEscape(ByteArray& out, std::uint8_t a, std::uint8_t b) {
    out.push_back(kEsc);
    out.push_back(a);
    out.push_back(b);
}

}  // namespace

ByteArray SjisToJis(const ByteArray& bytes) {
    RefuseEmpty(bytes);
    ByteArray out;
    out.reserve(bytes.size() * 2);
    Mode mode = Mode::Roman;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const int b = bytes[i];
        if ((b >= 0x80 && b <= 0xA0) || b >= 0xE0) {
            if (mode != Mode::Kanji) {
                PutEscape(out, 0x24, 0x42);
            }
            const detail::JisPair jis = detail::SjisPairToJis(b, At(bytes, i + 1));
            out.push_back(CheckedByte(jis.c1));
            out.push_back(CheckedByte(jis.c2));
            mode = Mode::Kanji;
            i += 2;
        } else if (b <= 0x7F) {
            if (mode != Mode::Roman) {
                PutEscape(out, 0x28, 0x4A);
            }
            out.push_back(static_cast<std::uint8_t>(b));
            mode = Mode::Roman;
            i += 1;
        } else {  // 0xA1..0xDF, half-width katakana
            if (mode != Mode::Kana) {
                PutEscape(out, 0x28, 0x49);
            }
            out.push_back(CheckedByte(b - 0x80));
            mode = Mode::Kana;
            i += 1;
        }
    }
    return out;
}

ByteArray JisToEuc(const ByteArray& bytes) {
    RefuseEmpty(bytes);
    ByteArray out;
    out.reserve(bytes.size() * 2);
    Mode mode = Mode::Roman;
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (bytes[i] == kEsc) {
            const int x = At(bytes, i + 1);
            const int y = At(bytes, i + 2);
            if (x == 0x24 && (y == 0x42 || y == 0x40)) {
                mode = Mode::Kanji;
                i += 3;
            } else if (x == 0x28 && y == 0x4A) {
                mode = Mode::Roman;
                i += 3;
            } else if (x == 0x28 && y == 0x49) {
                mode = Mode::Kana;
                i += 3;
            } else {
                i += 1;  // only the ESC is dropped
            }
            continue;
        }
        switch (mode) {
        case Mode::Kanji:
            out.push_back(CheckedByte(bytes[i] + 0x80));
            out.push_back(CheckedByte(At(bytes, i + 1) + 0x80));
            i += 2;
            break;
        case Mode::Roman: {
            const std::uint8_t b = bytes[i];
            if (b >= 0xA1 && b <= 0xDF) {
                out.push_back(0x8E);
            }
            out.push_back(b);
            i += 1;
            break;
        }
        case Mode::Kana:
            out.push_back(0x8E);
            out.push_back(static_cast<std::uint8_t>(bytes[i] | 0x80U));
            i += 1;
            break;
        }
    }
    return out;
}

ByteArray SjisToEuc(const ByteArray& bytes) {
    return JisToEuc(SjisToJis(bytes));
}

ByteArray StrToEuc(std::u16string_view text) {
    const std::string sjis = cp932::Encode(text);
    return SjisToEuc(ByteArray(sjis.begin(), sjis.end()));
}

}  // namespace qb
