// File names on Windows are UTF-16 and reach the file system as they are.

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "files/paths.h"

namespace {

TEST(UnicodeWin32, PathsAreTheUtf16TextItself) {
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

}  // namespace
