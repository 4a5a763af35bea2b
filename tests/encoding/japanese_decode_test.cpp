#include "encoding/japanese_decode.h"

#include <string>

#include <gtest/gtest.h>

#include "encoding/cp932.h"
#include "encoding/kanji_convert.h"
#include "test_bytes.h"

namespace {

using qb::test::Array;
using qb::test::Bytes;
using qb::test::Hex;
using qb::test::Str;

// Every code page 932 character that EUC-JP can hold (the lead bytes up to 0xEF and the
// half-width katakana), written by the export's own EUC-JP converter, reads back as
// code page 932 reads its Shift_JIS bytes: the JIS arithmetic undone for every row.
TEST(DecodeEucJp, ReadsBackEveryCharacterTheExportWrites) {
    std::string sjis;
    for (int b = 0xA1; b <= 0xDF; ++b) {
        sjis += static_cast<char>(b);
    }
    for (int lead = 0x81; lead <= 0xEF; ++lead) {
        for (int second = 0x40; second <= 0xFC; ++second) {
            const std::string pair = Bytes({lead, second});
            if ((lead < 0xA0 || lead >= 0xE0) && qb::DecodeShiftJis(pair).clean) {
                sjis += pair;
            }
        }
    }
    const std::u16string expected = qb::cp932::Decode(sjis);
    ASSERT_GT(expected.size(), 7000U);
    const qb::DecodedText read = qb::DecodeEucJp(Str(qb::SjisToEuc(Array(sjis))));
    EXPECT_TRUE(read.clean);
    ASSERT_EQ(read.text.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(read.text[i], expected[i]) << "character " << i;
    }
}

TEST(DecodeJapanese, MarksBytesThatAreNoCharacter) {
    const char16_t bad = qb::cp932::kBadByteChar;
    const struct {
        const char* name;
        qb::DecodedText (*decode)(std::string_view);
        std::string bytes;
        std::u16string text;
        bool clean;
    } cases[] = {
        {"euc kana, kanji, ascii", qb::DecodeEucJp, Bytes({0xA4, 0xA2, 0xB0, 0xA1, 0x41, 0x8E, 0xB1}), u"あ亜Aｱ", true},
        {"euc NEC row 13", qb::DecodeEucJp, Bytes({0xAD, 0xA1}), u"①", true},
        {"euc middle dot", qb::DecodeEucJp, Bytes({0xA1, 0xA6}), u"・", true},
        {"euc JIS X 0212", qb::DecodeEucJp, Bytes({0x8F, 0xB0, 0xA1, 0x41}), {bad, u'A'}, false},
        {"euc unassigned row 9", qb::DecodeEucJp, Bytes({0xA9, 0xA1, 0xA1, 0x41}), {bad, u'\u3000', u'A'}, false},
        {"euc lead at the end", qb::DecodeEucJp, Bytes({0x41, 0xA4}), {u'A', bad}, false},
        {"euc SS2 without kana", qb::DecodeEucJp, Bytes({0x8E, 0x41}), {bad, u'A'}, false},
        {"euc byte 0xFF", qb::DecodeEucJp, Bytes({0xFF, 0xA4, 0xA2}), {bad, u'あ'}, false},
        {"sjis clean", qb::DecodeShiftJis, Bytes({0x82, 0xA0, 0x81, 0x45, 0xB1, 0x87, 0x40}), u"あ・ｱ①", true},
        {"sjis Windows' single byte", qb::DecodeShiftJis, Bytes({0x41, 0xFF}), u"A\uF8F3", false},
        {"sjis unassigned pair", qb::DecodeShiftJis, Bytes({0x85, 0x40}), {bad, u'@'}, false},
        {"sjis lead at the end", qb::DecodeShiftJis, Bytes({0x41, 0x82}), {u'A', bad}, false},
    };
    for (const auto& c : cases) {
        const qb::DecodedText read = c.decode(c.bytes);
        EXPECT_EQ(read.text, c.text) << c.name << ": " << Hex(c.bytes);
        EXPECT_EQ(read.clean, c.clean) << c.name;
    }
}

}  // namespace
