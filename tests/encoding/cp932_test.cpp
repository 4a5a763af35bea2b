#include "encoding/cp932.h"

#include <string>

#include <gtest/gtest.h>

#include "test_bytes.h"

namespace {

using qb::cp932::Decode;
using qb::cp932::Encode;
using qb::test::Bytes;

TEST(Cp932, DecodesAsWindowsDoes) {
    const struct {
        std::string bytes;
        std::u16string text;
    } cases[] = {
        {"", u""},
        {"A\\~", u"A\\~"},
        {Bytes({0x82, 0xA0}), u"\u3042"},
        {Bytes({0x81, 0x40}), u"\u3000"},
        {Bytes({0xB1}), u"\uFF71"},
        {Bytes({0x87, 0x54}), u"\u2160"},
        {Bytes({0xED, 0x40}), u"\u7E8A"},
        {Bytes({0xFA, 0x40}), u"\u2170"},
        {Bytes({0xF0, 0x40}), u"\uE000"},
        // Windows' own single bytes, which iconv refuses.
        {Bytes({0x80, 0xA0, 0xFD, 0xFE, 0xFF}), u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3"},
        // A lead byte without a valid second byte: one U+30FB, then the next byte afresh.
        {Bytes({0x81, 0x0D, 0x0A}), u"\u30FB\r\n"},
        {Bytes({0x82}), u"\u30FB"},
        {Bytes({0x41, 0x82}), u"A\u30FB"},
        // An unassigned pair: the lead byte alone is bad, the second byte is read again.
        {Bytes({0x85, 0x40}), u"\u30FB@"},
        {Bytes({0x00, 0x41}), std::u16string(u"\0A", 2)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Decode(c.bytes), c.text) << "bytes of size " << c.bytes.size();
    }
}

TEST(Cp932, EncodesWhatWindowsPrefers) {
    const struct {
        std::u16string text;
        std::string bytes;
    } cases[] = {
        {u"\u2170", Bytes({0xFA, 0x40})},
        {u"\u7E8A", Bytes({0xFA, 0x5C})},
        {u"\u2252", Bytes({0x81, 0xE0})},
        {u"\u2160", Bytes({0x87, 0x54})},
        {u"\uFFE2", Bytes({0x81, 0xCA})},
        {u"\u3042A", Bytes({0x82, 0xA0, 0x41})},
        {u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3", Bytes({0x80, 0xA0, 0xFD, 0xFE, 0xFF})},
        // What the code page cannot hold: one "?" per pair or lone code unit.
        {u"\U0001F600", "?"},
        {u"a\U0001F600b", "a?b"},
        {std::u16string{u'\xD83D'}, "?"},
        {std::u16string{u'\xDE00', u'x'}, "?x"},
        {std::u16string{u'\xD83D', u'\xD83D', u'\xDE00'}, "??"},
        {u"\u00E9", "?"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Encode(c.text), c.bytes);
    }
}

TEST(Cp932, FirstPassFoldsDuplicatesToWindowsPreferredBytes) {
    // NEC-selected IBM extensions come back as IBM extensions, NEC row 13 duplicates
    // of JIS symbols as the JIS symbols.
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        {Bytes({0xED, 0x40}), Bytes({0xFA, 0x5C})},
        {Bytes({0xEE, 0xEF}), Bytes({0xFA, 0x40})},
        {Bytes({0x87, 0x90}), Bytes({0x81, 0xE0})},
        {Bytes({0x81, 0xCA}), Bytes({0x81, 0xCA})},
        {Bytes({0x80, 0x41, 0xA0}), Bytes({0x80, 0x41, 0xA0})},
        {Bytes({0x81}), Bytes({0x81, 0x45})},  // a bad byte becomes U+30FB, written 81 45
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Encode(Decode(c.in)), c.out);
    }
}

TEST(Cp932, ChunkedConversionEqualsWholeConversion) {
    const std::string input =
        Bytes({0x41, 0x82, 0xA0, 0x82, 0x0D, 0x0A, 0x85, 0x81, 0x40, 0xB1, 0x80, 0x41, 0xED, 0x40, 0xFF, 0x81});
    const std::u16string whole = Decode(input);
    for (std::size_t chunk = 1; chunk <= input.size(); ++chunk) {
        qb::cp932::Decoder decoder;
        std::u16string text;
        for (std::size_t i = 0; i < input.size(); i += chunk) {
            decoder.Feed(std::string_view(input).substr(i, chunk), text);
        }
        decoder.Finish(text);
        EXPECT_EQ(text, whole) << "chunk " << chunk;
    }
    const std::u16string utf16 = u"a\U0001F600\u3042\xD83D\xD83D\xDE00z\xDE00\u2170";
    const std::string encoded = Encode(utf16);
    for (std::size_t chunk = 1; chunk <= utf16.size(); ++chunk) {
        qb::cp932::Encoder encoder;
        std::string bytes;
        for (std::size_t i = 0; i < utf16.size(); i += chunk) {
            encoder.Feed(std::u16string_view(utf16).substr(i, chunk), bytes);
        }
        encoder.Finish(bytes);
        EXPECT_EQ(bytes, encoded) << "chunk " << chunk;
    }
}

}  // namespace
