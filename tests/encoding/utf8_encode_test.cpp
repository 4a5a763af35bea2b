#include "encoding/utf8_encode.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/unicode.h"
#include "test_bytes.h"

namespace {

using qb::test::Bytes;
using qb::test::Hex;

std::string Encode(std::u16string_view text) {
    std::vector<std::uint8_t> bytes;
    const std::int32_t count = qb::EncodeUtf8(text, bytes);
    EXPECT_EQ(static_cast<std::size_t>(count), bytes.size());
    return {bytes.begin(), bytes.end()};
}

TEST(EncodeUtf8, EncodesEachCodeUnitByItself) {
    const struct {
        std::u16string text;
        std::string bytes;
    } cases[] = {
        {u"A", "A"},
        {u"\u00E9", Bytes({0xC3, 0xA9})},
        {u"\u07FF", Bytes({0xDF, 0xBF})},
        {u"\u0800", Bytes({0xE0, 0xA0, 0x80})},
        {u"\u3042", Bytes({0xE3, 0x81, 0x82})},
        {u"\u8A9E", Bytes({0xE8, 0xAA, 0x9E})},
        {u"\uFFFF", Bytes({0xEF, 0xBF, 0xBF})},
        {std::u16string(1, u'\0'), std::string(1, '\0')},
        {u"\r\n", "\r\n"},
        // A surrogate pair is two three-byte sequences, never one four-byte one.
        {u"\U0001F600", Bytes({0xED, 0xA0, 0xBD, 0xED, 0xB8, 0x80})},
        {std::u16string(1, char16_t{0xDC00}), Bytes({0xED, 0xB0, 0x80})},
        {u"A\u3042\r\n", Bytes({0x41, 0xE3, 0x81, 0x82, 0x0D, 0x0A})},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Hex(Encode(c.text)), Hex(c.bytes));
        std::string appended = "x";
        qb::AppendUtf8(c.text, appended);
        EXPECT_EQ(Hex(appended), Hex("x" + c.bytes));
    }
}

// The count of bytes written, which replace the old ones; empty text leaves them.
TEST(EncodeUtf8, ReplacesTheOldBytesUnlessTheTextIsEmpty) {
    std::vector<std::uint8_t> bytes{1, 2, 3};
    EXPECT_EQ(qb::EncodeUtf8(u"", bytes), 0);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{1, 2, 3}));
    bytes.assign(100, 0xAA);
    EXPECT_EQ(qb::EncodeUtf8(u"\u3042", bytes), 3);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0xE3, 0x81, 0x82}));
}

// Outside the surrogates, per-unit encoding is standard UTF-8: compare every such code
// point with the general converter.
TEST(EncodeUtf8, AgreesWithStandardUtf8OutsideSurrogates) {
    std::u16string text;
    for (unsigned c = 0; c <= 0xFFFF; ++c) {
        if (c < 0xD800 || c > 0xDFFF) {
            text.push_back(static_cast<char16_t>(c));
        }
    }
    EXPECT_EQ(Encode(text), qb::Utf16ToUtf8(text));
}

}  // namespace
