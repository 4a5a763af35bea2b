#include "export/blog_folder.h"

#include <gtest/gtest.h>

#include "common/run_error.h"
#include "test_support.h"

namespace {

using qbtest::WriteBytes;

TEST(BlogFolder, TakesEveryFileOfEveryDirectSubFolderInNameOrder) {
    qbtest::TempDir dir;
    const auto blog = dir.Path() / "blog";
    for (const char* file : {"b/Zeta.txt", "b/alpha.txt", "b/.hidden.txt", "A/c.txt", "A/B.md", "x.txt",
                             "A/deeper/d.txt", ".hidden/e.txt", "旅行/一日目.txt"}) {
        WriteBytes(blog / qbtest::PathOf(file), "x");
    }
    std::filesystem::create_directories(blog / "empty");

    const std::u16string base = qb::FromPath(blog);
    using qbtest::Native;
    for (const std::u16string& given : {base, base + qb::kPathSeparator}) {
        qb::WindowModel window;
        window.List1 = {u"stale.txt"};
        window.List2 = {u"/stale.txt"};
        qb::FillListsFromBlogFolder(window, given);
        EXPECT_EQ(window.List1,
                  (std::vector<std::u16string>{u"B.md", u"c.txt", u"alpha.txt", u"Zeta.txt", u"一日目.txt"}));
        EXPECT_EQ(window.List2, (std::vector<std::u16string>{base + Native(u"/A/B.md"), base + Native(u"/A/c.txt"),
                                                             base + Native(u"/b/alpha.txt"), base + Native(u"/b/Zeta.txt"),
                                                             base + Native(u"/旅行/一日目.txt")}));
    }
}

TEST(BlogFolder, NoSubFoldersGivesEmptyLists) {
    qbtest::TempDir dir;
    WriteBytes(dir.Path() / "x.txt", "x");
    qb::WindowModel window;
    window.List1 = {u"stale.txt"};
    window.List2 = {u"/stale.txt"};
    qb::FillListsFromBlogFolder(window, dir.Text());
    EXPECT_TRUE(window.List1.empty());
    EXPECT_TRUE(window.List2.empty());
}

TEST(BlogFolder, AMissingFolderThrowsAndKeepsTheLists) {
    qbtest::TempDir dir;
    qb::WindowModel window;
    window.List1 = {u"kept.txt"};
    try {
        qb::FillListsFromBlogFolder(window, qb::FromPath(dir.Path() / "nowhere"));
        ADD_FAILURE() << "listed a missing folder";
    } catch (const qb::RunError& e) {
        EXPECT_EQ(e.Number(), qb::err::kPathNotFound);
    }
    EXPECT_EQ(window.List1.size(), 1U);
}

}  // namespace
