// The code page 932 converter against glibc iconv itself, character by character, over
// every single byte, every two-byte sequence and every UTF-16 code unit.

#include <bit>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "encoding/cp932.h"
#include "iconv_reference.h"

namespace {

using qb::test::Iconv;

constexpr const char* kUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

char16_t WindowsSingle(unsigned char b) {
    switch (b) {
    case 0x80:
        return u'\u0080';
    case 0xA0:
        return u'\uF8F0';
    case 0xFD:
        return u'\uF8F1';
    case 0xFE:
        return u'\uF8F2';
    case 0xFF:
        return u'\uF8F3';
    default:
        return u'\u30FB';
    }
}

// The rule written out plainly: a character iconv accepts, two bytes before one where
// a pair is there; otherwise Windows' own single byte, or U+30FB for one byte.
std::u16string ReferenceDecode(const std::string& bytes) {
    Iconv cd(kUtf16, "CP932");
    std::u16string out;
    std::string got;
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (i + 1 < bytes.size() && cd.Convert(bytes.data() + i, 2, got) && got.size() == 2) {
            out.push_back(
                static_cast<char16_t>(static_cast<unsigned char>(got[0]) | static_cast<unsigned char>(got[1]) << 8));
            i += 2;
        } else if (cd.Convert(bytes.data() + i, 1, got) && got.size() == 2) {
            out.push_back(
                static_cast<char16_t>(static_cast<unsigned char>(got[0]) | static_cast<unsigned char>(got[1]) << 8));
            i += 1;
        } else {
            out.push_back(WindowsSingle(static_cast<unsigned char>(bytes[i])));
            i += 1;
        }
    }
    return out;
}

static_assert(std::endian::native == std::endian::little, "the reference reads UTF-16LE");

TEST(Cp932Exhaustive, EveryOneAndTwoByteSequenceDecodesAsIconvSays) {
    for (int a = 0; a < 256; ++a) {
        const std::string one(1, static_cast<char>(a));
        ASSERT_EQ(qb::cp932::Decode(one), ReferenceDecode(one)) << "byte " << a;
        for (int b = 0; b < 256; ++b) {
            const std::string two{static_cast<char>(a), static_cast<char>(b)};
            ASSERT_EQ(qb::cp932::Decode(two), ReferenceDecode(two)) << "bytes " << a << " " << b;
        }
    }
}

TEST(Cp932Exhaustive, RandomRunsDecodeAsIconvSays) {
    std::mt19937 rng(932);
    const unsigned char interesting[] = {0x81, 0x82, 0x85, 0x87, 0x9F, 0xA0, 0xE0, 0xED, 0xEF, 0xF0,
                                         0xFA, 0xFC, 0xFD, 0x80, 0x40, 0x7F, 0x0D, 0x0A, 0x41, 0xB1};
    for (int run = 0; run < 20000; ++run) {
        std::string bytes(rng() % 9, '\0');
        for (char& c : bytes) {
            c = static_cast<char>(rng() % 2 ? interesting[rng() % sizeof interesting] : rng() % 256);
        }
        ASSERT_EQ(qb::cp932::Decode(bytes), ReferenceDecode(bytes)) << "run " << run;
    }
}

TEST(Cp932Exhaustive, EveryCodeUnitEncodesAsIconvSays) {
    Iconv cd("CP932", kUtf16);
    for (std::uint32_t u = 0; u < 0x10000; ++u) {
        const auto c = static_cast<char16_t>(u);
        if (c >= 0xD800 && c <= 0xDFFF) {
            continue;  // surrogates: covered by the table tests
        }
        std::string expected;
        if (!cd.Convert(&c, sizeof c, expected)) {
            switch (c) {
            case u'\u0080':
                expected = "\x80";
                break;
            case u'\uF8F0':
                expected = "\xA0";
                break;
            case u'\uF8F1':
                expected = "\xFD";
                break;
            case u'\uF8F2':
                expected = "\xFE";
                break;
            case u'\uF8F3':
                expected = "\xFF";
                break;
            default:
                expected = "?";
                break;
            }
        }
        ASSERT_EQ(qb::cp932::Encode(std::u16string(1, c)), expected) << "U+" << std::hex << u;
    }
}

}  // namespace
