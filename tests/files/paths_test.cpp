// File names as text: bytes on POSIX systems, UTF-16 on Windows that reaches the file
// system as it is.

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "common/unicode.h"
#include "files/paths.h"

namespace {

#ifdef _WIN32
TEST(Paths, AreTheUtf16TextItself) {
    const std::u16string texts[] = {u"C:\\ブログ\\日記\\あ.txt", u"\uFF71\u2460.txt",
                                    std::u16string{u'\xD800', u'a'}};  // a lone surrogate, as NTFS allows
    for (const std::u16string& text : texts) {
        const std::filesystem::path path = qb::ToPath(text);
        EXPECT_EQ(path.native(), std::wstring(text.begin(), text.end()));
        EXPECT_EQ(qb::FromPath(path), text);
    }
    EXPECT_EQ(qb::kPathSeparator, u'\\');
    EXPECT_EQ(qb::WithTrailingSeparator(u"C:\\"), u"C:\\");
    EXPECT_EQ(qb::WithTrailingSeparator(u"C:\\blog"), u"C:\\blog\\");
}
#else
TEST(Paths, KeepBytesThatAreNotUtf8) {
    for (const std::string name : {"\x82\xa0.txt", "a\xff", "\xe3\x81", "\xc0\x80", "\xed\xb2\x82", "\xe3\x81\x82"}) {
        const std::u16string text = qb::FromPath(std::filesystem::path(name));
        EXPECT_EQ(qb::ToPath(text).native(), name);
    }
    EXPECT_EQ(qb::FromPath(std::filesystem::path("\x82\xa0.txt")), std::u16string(u"\xDC82\xDCA0.txt"));
    // Text that is not a file name still has its ill-formed bytes replaced.
    EXPECT_EQ(qb::Utf8ToUtf16("\x82"), u"\uFFFD");
}
#endif

}  // namespace
