// Fuzzes the UTF-8 decoder: in pieces of random sizes it gives the text of decoding
// whole; well-formed input comes back byte for byte; ill-formed input becomes U+FFFD,
// one for each maximal part of one to three bytes, and nothing else is dropped: every
// ASCII byte comes through in order. The well-formedness check agrees with the decoder.
//
// Input: the first byte seeds the piece sizes, the rest is decoded.

#include <cstdint>
#include <string>
#include <string_view>

#include "common/utf8_decode.h"
#include "fuzz/fuzz_support.h"

namespace {

using qbfuzz::Require;

constexpr char16_t kReplacement = 0xFFFD;

// UTF-16 back to UTF-8, counting the U+FFFD in replacements.
std::string Utf8Of(std::u16string_view text, std::size_t& replacements) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        replacements += c == kReplacement ? 1 : 0;
        if (c >= 0xD800 && c <= 0xDBFF) {
            Require(i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF, "no lone surrogate");
            c = 0x10000 + ((c - 0xD800) << 10U) + (text[++i] - 0xDC00);
        } else {
            Require(c < 0xDC00 || c > 0xDFFF, "no lone surrogate");
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6U);
            out += static_cast<char>(0x80 | (c & 0x3FU));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12U);
            out += static_cast<char>(0x80 | (c >> 6U & 0x3FU));
            out += static_cast<char>(0x80 | (c & 0x3FU));
        } else {
            out += static_cast<char>(0xF0 | c >> 18U);
            out += static_cast<char>(0x80 | (c >> 12U & 0x3FU));
            out += static_cast<char>(0x80 | (c >> 6U & 0x3FU));
            out += static_cast<char>(0x80 | (c & 0x3FU));
        }
    }
    return out;
}

std::string AsciiOf(std::string_view bytes) {
    std::string out;
    for (const char b : bytes) {
        if (static_cast<unsigned char>(b) < 0x80) {
            out += b;
        }
    }
    return out;
}

void Check(std::uint32_t seed, std::string_view bytes) {

    std::u16string whole;
    {
        qb::Utf8Decoder decoder;
        decoder.Feed(bytes, whole);
        decoder.Finish(whole);
    }
    std::u16string pieces;
    qb::Utf8Decoder decoder;
    qb::Utf8Check check;
    qbfuzz::ForEachPiece(bytes, seed, 5, [&](std::string_view piece) {
        decoder.Feed(piece, pieces);
        (void)check.Feed(piece);
    });
    decoder.Finish(pieces);
    Require(pieces == whole, "decoding in pieces gives the text of decoding whole");

    std::size_t replacements = 0;
    const std::string back = Utf8Of(whole, replacements);
    // Each U+FFFD (three bytes in back) stands for one to three input bytes.
    Require(bytes.size() <= back.size() && back.size() - 2 * replacements <= bytes.size(),
            "each U+FFFD stands for one to three bytes, nothing else is dropped");
    Require(AsciiOf(back) == AsciiOf(bytes), "every ASCII byte comes through in order");
    if (check.Finish()) {
        Require(back == bytes, "well-formed input comes back byte for byte");
    } else {
        Require(replacements > 0, "ill-formed input gives U+FFFD");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return qbfuzz::WithFirstByte(data, size, Check);
}
