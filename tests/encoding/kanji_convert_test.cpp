#include "encoding/kanji_convert.h"

#include <cerrno>
#include <string>

#include <gtest/gtest.h>

#include "common/run_error.h"
#include "encoding/cp932.h"
#include "test_bytes.h"

namespace {

using qb::test::Array;
using qb::test::Bytes;
using qb::test::Hex;
using qb::test::Outcome;
using qb::test::Str;
using qb::test::Whole;

Outcome Euc(const std::string& sjis) { return Whole(qb::SjisToEuc, sjis); }
Outcome Jis(const std::string& sjis) { return Whole(qb::SjisToJis, sjis); }
Outcome JisEuc(const std::string& jis) { return Whole(qb::JisToEuc, jis); }
Outcome Ok(const std::string& bytes) { return {bytes, 0}; }
Outcome Fails(int number) { return {{}, number}; }

TEST(SjisToEuc, ConvertsCharactersOfEveryKind) {
    const struct {
        std::string sjis;
        std::string euc;
    } cases[] = {
        {Bytes({0x82, 0xA0}), Bytes({0xA4, 0xA2})},  // hiragana A
        {Bytes({0x83, 0x41}), Bytes({0xA5, 0xA2})},  // katakana A
        {Bytes({0x88, 0x9F}), Bytes({0xB0, 0xA1})},  // U+4E9C
        {Bytes({0x81, 0x40}), Bytes({0xA1, 0xA1})},  // ideographic space
        {Bytes({0xB1}), Bytes({0x8E, 0xB1})},        // half-width katakana A
        {"\r\n", "\r\n"},
        {Bytes({0x41, 0x82, 0xA0, 0xB1}), Bytes({0x41, 0xA4, 0xA2, 0x8E, 0xB1})},
        {Bytes({0x87, 0x40}), Bytes({0xAD, 0xA1})},  // NEC special row lands in row 13
        {Bytes({0xED, 0x40}), Bytes({0xF9, 0xA1})},  // NEC-selected IBM rows 89 to 92
        {Bytes({0xEE, 0xFC}), Bytes({0xFC, 0xFE})},
        {Bytes({0xF0, 0x40}), Bytes({0xFF, 0xA1})},
        // A lone 0x80 or 0xA0 is a first byte and swallows the next byte.
        {Bytes({0x80, 0x41, 0x42}), Bytes({0x9F, 0xA2, 0x42})},
        {Bytes({0xA0, 0x41}), Bytes({0xDF, 0xA2})},
        // A zero byte is data: everything after it is kept.
        {Bytes({0x41, 0x00, 0x42}), Bytes({0x41, 0x00, 0x42})},
        {Bytes({0x82, 0xA0, 0x00, 0x82, 0xA0}), Bytes({0xA4, 0xA2, 0x00, 0xA4, 0xA2})},
        {Bytes({0x00}), Bytes({0x00})},
        // A second byte 0x1F gives a JIS byte 0x00, converted like any other.
        {Bytes({0x81, 0x1F, 0x41}), Bytes({0xA1, 0x80, 0x41})},
        // A literal ESC passes stage 1 and is dropped by stage 2 ...
        {Bytes({0x41, 0x1B, 0x42, 0x43}), Bytes({0x41, 0x42, 0x43})},
        {Bytes({0x1B, 0x28, 0x42, 0x41}), Bytes({0x28, 0x42, 0x41})},  // ESC ( B is not taken
        {Bytes({0x1B, 0x1B, 0x41, 0x42}), Bytes({0x41, 0x42})},
        // ... unless it forms a recognised escape, which changes the mode.
        {Bytes({0x1B, 0x28, 0x49, 0x41}), Bytes({0x8E, 0xC1})},
        {Bytes({0x1B, 0x24, 0x40, 0x30, 0x21}), Bytes({0xB0, 0xA1})},
        {Bytes({0x1B, 0x24, 0x42, 0x30, 0x21, 0x1B, 0x28, 0x4A, 0x41}), Bytes({0xB0, 0xA1, 0x41})},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Euc(c.sjis), Ok(c.euc)) << "input " << Hex(c.sjis);
    }
    EXPECT_EQ(Str(qb::StrToEuc(u"A\u3042\uFF71\u4E9C\u3000")),
              Bytes({0x41, 0xA4, 0xA2, 0x8E, 0xB1, 0xB0, 0xA1, 0xA1, 0xA1}));
}

TEST(SjisToJis, WritesAnEscapeOnlyWhenTheModeChanges) {
    const struct {
        std::string sjis;
        std::string jis;
    } cases[] = {
        {Bytes({0x41, 0x82, 0xA0, 0xB1}), Bytes({0x41, 0x1B, 0x24, 0x42, 0x24, 0x22, 0x1B, 0x28, 0x49, 0x31})},
        {Bytes({0x82, 0xA0, 0x41}), Bytes({0x1B, 0x24, 0x42, 0x24, 0x22, 0x1B, 0x28, 0x4A, 0x41})},
        {Bytes({0x82, 0xA0, 0x82, 0xA2}), Bytes({0x1B, 0x24, 0x42, 0x24, 0x22, 0x24, 0x24})},
        {Bytes({0xB1, 0xB2, 0x0D}), Bytes({0x1B, 0x28, 0x49, 0x31, 0x32, 0x1B, 0x28, 0x4A, 0x0D})},
        {"AB", "AB"},
        {Bytes({0x81, 0x1F}), Bytes({0x1B, 0x24, 0x42, 0x21, 0x00})},
        {Bytes({0x41, 0x00, 0x42}), Bytes({0x41, 0x00, 0x42})},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Jis(c.sjis), Ok(c.jis)) << "input " << Hex(c.sjis);
    }
}

TEST(KanjiConvert, FailuresCarryTheirNumbers) {
    const struct {
        std::string input;
        Outcome stage1;
        Outcome both;
    } cases[] = {
        {"", Fails(9), Fails(9)},
        {Bytes({0x41, 0x82}), Fails(9), Fails(9)},  // first byte last
        {Bytes({0x81, 0x1E}), Fails(6), Fails(6)},  // second byte below 0x1F
        {Bytes({0x81, 0x00}), Fails(6), Fails(6)},
        {Bytes({0x80, 0x0D, 0x0A}), Fails(6), Fails(6)},  // lone 0x80 before CR
        {Bytes({0xF1, 0x40}), Ok(Bytes({0x1B, 0x24, 0x42, 0x81, 0x21})), Fails(6)},
        {Bytes({0xFA, 0x40}), Ok(Bytes({0x1B, 0x24, 0x42, 0x93, 0x21})), Fails(6)},
        {Bytes({0x81, 0xFE}), Ok(Bytes({0x1B, 0x24, 0x42, 0x22, 0x80})), Fails(6)},
        {Bytes({0xF0, 0x9F}), Ok(Bytes({0x1B, 0x24, 0x42, 0x80, 0x21})), Fails(6)},
        // Stage 1 runs to its end before stage 2: its later failure is the one reported.
        {Bytes({0xF1, 0x40, 0x41, 0x82}), Fails(9), Fails(9)},
        {Bytes({0xFA, 0x40, 0x81, 0x10}), Fails(6), Fails(6)},
        // Stage-2 failures from text bytes: ESC near the end.
        {Bytes({0x41, 0x1B}), Ok(Bytes({0x41, 0x1B})), Fails(9)},
        {Bytes({0x41, 0x1B, 0x24}), Ok(Bytes({0x41, 0x1B, 0x24})), Fails(9)},
        {Bytes({0x1B, 0x24, 0x42, 0x30}), Ok(Bytes({0x1B, 0x24, 0x42, 0x30})), Fails(9)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Jis(c.input), c.stage1) << "input " << Hex(c.input);
        EXPECT_EQ(Euc(c.input), c.both) << "input " << Hex(c.input);
    }
}

TEST(JisToEuc, ReadsTheJisStream) {
    const struct {
        std::string jis;
        Outcome euc;
    } cases[] = {
        {"", Fails(9)},
        {Bytes({0x1B}), Fails(9)},
        {Bytes({0x1B, 0x24, 0x42, 0x80, 0x21}), Fails(6)},  // kanji byte 0x80 or more
        {Bytes({0x1B, 0x24, 0x42, 0x21, 0x80}), Fails(6)},
        {Bytes({0x1B, 0x24, 0x42, 0x80}), Fails(6)},                       // the range test comes first
        {Bytes({0x1B, 0x24, 0x42, 0x21, 0x1B}), Ok(Bytes({0xA1, 0x9B}))},  // second byte is never an escape
        {Bytes({0xB1, 0x41}), Ok(Bytes({0x8E, 0xB1, 0x41}))},              // roman mode carries 0xA1..0xDF as kana
        {Bytes({0xE0, 0xA0}), Ok(Bytes({0xE0, 0xA0}))},
        {Bytes({0x1B, 0x28, 0x49, 0x31, 0xB1}), Ok(Bytes({0x8E, 0xB1, 0x8E, 0xB1}))},
        {Bytes({0x1B, 0x24, 0x42, 0x1B, 0x28, 0x4A}), Ok("")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(JisEuc(c.jis), c.euc) << "input " << Hex(c.jis);
    }
}

// First bytes 0xF0 to 0xFC: only 0xF0 with a second byte below 0x9F converts (to a
// first EUC-JP byte 0xFF); everything else overflows in stage 2.
TEST(SjisToEuc, UserDefinedAndIbmRowsFailWithOverflow) {
    for (int lead = 0xF0; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const std::string sjis = Bytes({lead, trail});
            const Outcome got = Euc(sjis);
            if (lead == 0xF0 && trail < 0x9F) {
                ASSERT_EQ(got.error, 0) << Hex(sjis);
                ASSERT_EQ(got.bytes.size(), 2U);
                EXPECT_EQ(static_cast<unsigned char>(got.bytes[0]), 0xFF) << Hex(sjis);
            } else {
                EXPECT_EQ(got, Fails(6)) << Hex(sjis);
            }
        }
    }
}

}  // namespace
