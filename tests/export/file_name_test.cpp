#include "export/file_name.h"

#include <string>

#include <gtest/gtest.h>

#include "common/unicode.h"

namespace {

using qb::NameRules;

TEST(FileName, NamesThatLeaveTheFolderOrThatThePlatformForbids) {
    const struct {
        std::u16string name;
        bool badOnPosix;
        bool badOnWindows;
    } cases[] = {
        {u"out", false, false},
        {u" 出力 ", false, false},
        {u"..x", false, false},
        {u"x..", false, false},
        {u"a b.c", false, false},
        {u"../x", true, true},
        {u"sub/b", true, true},
        {u"a\\b", true, true},
        {u".", true, true},
        {u"..", true, true},
        {std::u16string(u"a\0b", 3), true, true},
        {u"a:b", false, true},
        {u"<", false, true},
        {u">", false, true},
        {u"\"", false, true},
        {u"|", false, true},
        {u"?", false, true},
        {u"*", false, true},
        {u"a\tb", false, true},
        {u"\x1f", false, true},
        {u" . ", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(qb::Utf16ToUtf8(c.name));
        EXPECT_EQ(qb::IsBadFileName(c.name, NameRules::Posix), c.badOnPosix);
        EXPECT_EQ(qb::IsBadFileName(c.name, NameRules::Windows), c.badOnWindows);
    }
}

}  // namespace
