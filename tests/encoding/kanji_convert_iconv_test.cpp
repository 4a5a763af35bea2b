// The Shift_JIS to EUC-JP arithmetic against glibc's own converter (Linux only).

#include <string>

#include <gtest/gtest.h>

#include "encoding/cp932.h"
#include "encoding/kanji_convert.h"
#include "iconv_reference.h"
#include "test_bytes.h"

namespace {

using qb::test::Array;
using qb::test::Bytes;
using qb::test::Hex;
using qb::test::Str;

TEST(SjisToEuc, AgreesWithIconvOnJisX0208AndTheNecRow) {
    qb::test::Iconv iconv("EUC-JP-MS", "CP932");  // through Unicode, one character at a time
    ASSERT_TRUE(iconv.Usable());
    int jisX0208 = 0;
    int necRow = 0;
    int necDuplicates = 0;
    for (int lead = 0x81; lead <= 0xEA; ++lead) {
        const bool nec = lead == 0x87;
        if ((lead >= 0x85 && lead <= 0x86) || (lead >= 0xA0 && lead <= 0xDF)) {
            continue;  // rows 9 to 15 are empty in JIS X 0208 (except the NEC row)
        }
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) {
                continue;
            }
            const std::string sjis = Bytes({lead, trail});
            std::string expected;
            if (!iconv.Convert(sjis.data(), sjis.size(), expected)) {
                continue;  // not a character of the code page
            }
            const std::string ours = Str(qb::SjisToEuc(Array(sjis)));
            (nec ? necRow : jisX0208)++;
            // iconv goes through Unicode: the NEC row's nine duplicates of row-2
            // symbols come out in row 2 there; the arithmetic keeps them in row 13.
            if (nec && qb::cp932::Encode(qb::cp932::Decode(sjis)) != sjis) {
                ++necDuplicates;
                ASSERT_EQ(ours.size(), 2U);
                EXPECT_EQ(static_cast<unsigned char>(ours[0]), 0xAD) << Hex(sjis);
                EXPECT_EQ(static_cast<unsigned char>(expected[0]), 0xA2) << Hex(sjis);
                continue;
            }
            EXPECT_EQ(Hex(ours), Hex(expected)) << "code page 932 " << Hex(sjis);
        }
    }
    EXPECT_EQ(jisX0208, 6879);  // every character of JIS X 0208
    EXPECT_EQ(necRow, 83);
    EXPECT_EQ(necDuplicates, 9);
}

}  // namespace
