// File names on POSIX systems are bytes.

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "common/unicode.h"
#include "files/paths.h"

namespace {

TEST(Unicode, PathsKeepBytesThatAreNotUtf8) {
    for (const std::string name : {"\x82\xa0.txt", "a\xff", "\xe3\x81", "\xc0\x80", "\xed\xb2\x82", "\xe3\x81\x82"}) {
        const std::u16string text = qb::FromPath(std::filesystem::path(name));
        EXPECT_EQ(qb::ToPath(text).native(), name);
    }
    EXPECT_EQ(qb::FromPath(std::filesystem::path("\x82\xa0.txt")), std::u16string(u"\xDC82\xDCA0.txt"));
    // Text that is not a file name still has its ill-formed bytes replaced.
    EXPECT_EQ(qb::Utf8ToUtf16("\x82"), u"\uFFFD");
}

}  // namespace
