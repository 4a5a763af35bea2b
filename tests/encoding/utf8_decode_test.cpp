#include "common/utf8_decode.h"

#include <string>

#include <gtest/gtest.h>

#include "test_bytes.h"

namespace {

using qb::test::Hex;

struct Read {
    std::u16string text;
    bool wellFormed;
    bool multiByte;
    bool operator==(const Read&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Read& r) {
    out << "[";
    for (const char16_t c : r.text) {
        out << " U+" << std::hex << static_cast<int>(c) << std::dec;
    }
    return out << " ] well-formed " << r.wellFormed << ", multi-byte " << r.multiByte;
}

// Decodes and checks the bytes in pieces of the given size.
Read ReadInPieces(const std::string& bytes, std::size_t piece) {
    qb::Utf8Decoder decoder;
    qb::Utf8Check check;
    std::u16string text;
    for (std::size_t i = 0; i < bytes.size(); i += piece) {
        decoder.Feed(std::string_view(bytes).substr(i, piece), text);
        check.Feed(std::string_view(bytes).substr(i, piece));
    }
    decoder.Finish(text);
    return {text, check.Finish(), check.SawMultiByte()};
}

TEST(Utf8Decode, WellFormedTextAndOneReplacementPerBadPart) {
    const struct {
        std::string bytes;
        Read read;
    } cases[] = {
        {"", {u"", true, false}},
        {"abc", {u"abc", true, false}},
        {"\xC3\xA9", {u"é", true, true}},
        {"\xE3\x81\x82", {u"あ", true, true}},
        {"\xF0\x9F\x98\x80", {u"😀", true, true}},
        {"\xEF\xBF\xBD", {u"\uFFFD", true, true}},
        {"\xF4\x8F\xBF\xBF", {u"\U0010FFFF", true, true}},
        {"\xC3", {u"\uFFFD", false, false}},
        {"\xC3"
         "A",
         {u"\uFFFDA", false, false}},
        {"\x80", {u"\uFFFD", false, false}},
        {"\xC0\xAF", {u"\uFFFD\uFFFD", false, false}},                      // overlong
        {"\xE0\x80\x80", {u"\uFFFD\uFFFD\uFFFD", false, false}},            // overlong
        {"\xED\xA0\x80", {u"\uFFFD\uFFFD\uFFFD", false, false}},            // a surrogate
        {"\xF4\x90\x80\x80", {u"\uFFFD\uFFFD\uFFFD\uFFFD", false, false}},  // above U+10FFFF
        {"\xE3\x81"
         "A",
         {u"\uFFFDA", false, false}},
        {"\xF0\x9F\x98", {u"\uFFFD", false, false}},
        {"\xE3\x81\xE3\x81\x82", {u"\uFFFDあ", false, false}},  // the check stops at the bad part
        {"\xFF\xFE", {u"\uFFFD\uFFFD", false, false}},
    };
    for (const auto& c : cases) {
        for (const std::size_t piece : {1U, 2U, 64U}) {
            EXPECT_EQ(ReadInPieces(c.bytes, piece), c.read) << "[" << Hex(c.bytes) << "] in pieces of " << piece;
        }
    }
}

}  // namespace
