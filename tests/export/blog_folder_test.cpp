#include "export/blog_folder.h"

#include <gtest/gtest.h>

#include "common/run_error.h"
#include "support/test_support.h"

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
        std::vector<std::u16string> names;
        std::vector<std::u16string> paths;
        for (const qb::ListedArticle& article : qb::BlogFolderArticles(given)) {
            names.push_back(article.name);
            paths.push_back(article.path);
        }
        EXPECT_EQ(names, (std::vector<std::u16string>{u"B.md", u"c.txt", u"alpha.txt", u"Zeta.txt", u"一日目.txt"}));
        EXPECT_EQ(paths, (std::vector<std::u16string>{base + Native(u"/A/B.md"), base + Native(u"/A/c.txt"),
                                                      base + Native(u"/b/alpha.txt"), base + Native(u"/b/Zeta.txt"),
                                                      base + Native(u"/旅行/一日目.txt")}));
    }
}

TEST(BlogFolder, NoSubFoldersGivesNoArticles) {
    qbtest::TempDir dir;
    WriteBytes(dir.Path() / "x.txt", "x");
    EXPECT_TRUE(qb::BlogFolderArticles(dir.Text()).empty());
}

TEST(BlogFolder, AMissingFolderThrows53) {
    qbtest::TempDir dir;
    EXPECT_EQ(qbtest::RunErrorNumber([&] { (void)qb::BlogFolderArticles(qb::FromPath(dir.Path() / "nowhere")); }),
              qb::err::kPathNotFound);
}

}  // namespace
