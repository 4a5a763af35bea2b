#include "common/utf8_decode.h"

namespace qb {

namespace {
constexpr char16_t kReplacement = u'\uFFFD';
}  // namespace

void AppendCodePoint(char32_t c, std::u16string& out) {
    if (c < 0x10000) {
        out.push_back(static_cast<char16_t>(c));
        return;
    }
    c -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (c >> 10U)));
    out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FFU)));
}

Utf8Sequence::Step Utf8Sequence::Start(unsigned char byte) {
    if (byte < 0x80) {
        codePoint_ = byte;
        return Step::Char;
    }
    low_ = 0x80;
    high_ = 0xBF;
    if (byte >= 0xC2 && byte <= 0xDF) {
        need_ = 1;
        codePoint_ = byte & 0x1FU;
    } else if (byte >= 0xE0 && byte <= 0xEF) {
        need_ = 2;
        codePoint_ = byte & 0x0FU;
        if (byte == 0xE0) {
            low_ = 0xA0;  // no overlong forms
        } else if (byte == 0xED) {
            high_ = 0x9F;  // no surrogates
        }
    } else if (byte >= 0xF0 && byte <= 0xF4) {
        need_ = 3;
        codePoint_ = byte & 0x07U;
        if (byte == 0xF0) {
            low_ = 0x90;  // no overlong forms
        } else if (byte == 0xF4) {
            high_ = 0x8F;  // nothing above U+10FFFF
        }
    } else {
        return Step::Bad;
    }
    return Step::More;
}

void Utf8Decoder::Feed(std::string_view bytes, std::u16string& out) {
    out.reserve(out.size() + bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80 && !sequence_.Open()) {
            out.push_back(byte);
            continue;
        }
        Utf8Sequence::Step step = sequence_.Take(byte);
        if (step == Utf8Sequence::Step::BadAgain) {
            out.push_back(kReplacement);
            step = sequence_.Take(byte);
        }
        if (step == Utf8Sequence::Step::Char) {
            AppendCodePoint(sequence_.CodePoint(), out);
        } else if (step != Utf8Sequence::Step::More) {
            out.push_back(kReplacement);
        }
    }
}

void Utf8Decoder::Finish(std::u16string& out) {
    if (sequence_.Open()) {
        out.push_back(kReplacement);
        sequence_.Clear();
    }
}

bool Utf8Check::Feed(std::string_view bytes) {
    for (std::size_t i = 0; valid_ && i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x80 && !sequence_.Open()) {
            continue;
        }
        switch (sequence_.Take(byte)) {
        case Utf8Sequence::Step::More:
            break;
        case Utf8Sequence::Step::Char:
            multiByte_ = true;
            break;
        case Utf8Sequence::Step::Bad:
        case Utf8Sequence::Step::BadAgain:
            valid_ = false;
            break;
        }
    }
    return valid_;
}

}  // namespace qb
