#include "common/unicode.h"

#include <gtest/gtest.h>

namespace {

TEST(Unicode, RoundTripsWellFormedText) {
    for (const std::u16string text : {u"", u"abc", u"\u00E9\u3042", u"\U0001F600x", u"\uFFFF"}) {
        EXPECT_EQ(qb::Utf8ToUtf16(qb::Utf16ToUtf8(text)), text);
    }
    EXPECT_EQ(qb::Utf16ToUtf8(u"\u3042"), "\xE3\x81\x82");
    EXPECT_EQ(qb::Utf16ToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
}

TEST(Unicode, ReplacesIllFormedInput) {
    EXPECT_EQ(qb::Utf16ToUtf8(std::u16string{u'\xD800', u'a'}),
              "\xEF\xBF\xBD"
              "a");
    EXPECT_EQ(qb::Utf8ToUtf16("\xFF"
                              "a"),
              u"\uFFFDa");
    EXPECT_EQ(qb::Utf8ToUtf16("\xE3\x81"), u"\uFFFD");
    EXPECT_EQ(qb::Utf8ToUtf16("\xC0\x80"), u"\uFFFD\uFFFD");
}

}  // namespace
