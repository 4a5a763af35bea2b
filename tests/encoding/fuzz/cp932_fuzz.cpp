// Fuzzes code page 932 both ways.
//  - Bytes to text: decoding in pieces of random sizes gives the text of decoding whole,
//    and every character decoding gives encodes to bytes that decode to it again.
//  - Text to bytes: the input read as UTF-16 encodes the same in pieces as whole, and
//    the bytes are what their own text encodes to (a character the code page lacks may
//    become a near one, as Windows' best fit does, or "?").
//
// Input: the first byte seeds the piece sizes, the rest is the bytes (and the text).

#include <cstdint>
#include <string>
#include <string_view>

#include "encoding/cp932.h"
#include "fuzz/fuzz_support.h"

namespace {

using qbfuzz::Require;

// The length of the character that starts text: 2 for a surrogate pair, else 1.
std::size_t CharLength(std::u16string_view text) {
    return text.size() >= 2 && text[0] >= 0xD800 && text[0] <= 0xDBFF && text[1] >= 0xDC00 && text[1] <= 0xDFFF ? 2 : 1;
}

// Every character of decoded text encodes to bytes that decode to it again.
void EachCharRoundTrips(std::u16string_view text) {
    while (!text.empty()) {
        const std::u16string_view c = text.substr(0, CharLength(text));
        Require(qb::cp932::Decode(qb::cp932::Encode(c)) == c, "a decoded character encodes to bytes that decode to it");
        text.remove_prefix(c.size());
    }
}

void Check(std::uint32_t seed, std::string_view bytes) {

    const std::u16string text = qb::cp932::Decode(bytes);
    qb::cp932::Decoder decoder;
    std::u16string pieces;
    qbfuzz::ForEachPiece(bytes, seed, 5, [&](std::string_view piece) { decoder.Feed(piece, pieces); });
    decoder.Finish(pieces);
    Require(pieces == text, "decoding in pieces gives the text of decoding whole");
    Require(text.size() <= bytes.size(), "at most one character per byte");
    EachCharRoundTrips(text);

    // The bytes as UTF-16 text, lone surrogates included.
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                         static_cast<unsigned char>(bytes[2 * i + 1]) << 8U);
    }
    const std::string encoded = qb::cp932::Encode(units);
    qb::cp932::Encoder encoder;
    std::string encodedPieces;
    qbfuzz::ForEachPiece(std::u16string_view(units), seed + 1, 3,
                         [&](std::u16string_view piece) { encoder.Feed(piece, encodedPieces); });
    encoder.Finish(encodedPieces);
    Require(encodedPieces == encoded, "encoding in pieces gives the bytes of encoding whole");
    Require(qb::cp932::Encode(qb::cp932::Decode(encoded)) == encoded, "encoded bytes encode their own text");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return qbfuzz::WithFirstByte(data, size, Check);
}
