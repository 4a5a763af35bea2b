#include "export/article.h"

#include <gtest/gtest.h>

#include "common/run_error.h"
#include "test_support.h"

namespace {

using qbtest::ReadBytes;
using qbtest::Sjis;
using qbtest::SjisLines;
using qbtest::WriteBytes;
using Lines = std::vector<std::u16string>;

struct ArticleRun {
    std::u16string title;
    std::string body;  // import-file bytes written by TranscribeBody
    std::vector<std::u16string> messages;
};

ArticleRun Transcribe(const std::string& articleBytes, std::int16_t titleMode, std::int16_t kaigyoMode,
                      const std::u16string& previousTitle = u"前の記事") {
    qbtest::TempDir dir;
    const auto articlePath = dir.Path() / "a.txt";
    WriteBytes(articlePath, articleBytes);
    qb::Module1 module;
    module.TitleMode = titleMode;
    module.KaigyoMode = kaigyoMode;
    module.EntryTitle = previousTitle;
    qbtest::RecordingMessages messages;
    {
        qb::ImportFile out(dir.Path() / "out.txt");
        qb::ArticleFile article(qb::FromPath(articlePath));
        qb::ReadTitle(module, article, messages);
        qb::TranscribeBody(module, article, out);
        out.Close();
    }
    return {module.EntryTitle, ReadBytes(dir.Path() / "out.txt"), messages.Texts()};
}

TEST(Article, TitleAndBodyByFirstLineAndBreakModes) {
    const struct {
        const char* name;
        Lines article;
        std::int16_t titleMode;
        std::int16_t kaigyoMode;
        std::u16string title;
        Lines body;
    } cases[] = {
        {"three lines, title only", {u"題", u"", u"本文"}, 0, 0, u"題", {u"<P>", u"本文"}},
        {"three lines, title and body", {u"題", u"", u"本文"}, 1, 0, u"題", {u"<P>題", u"", u"本文"}},
        {"breaks converted", {u"題", u"", u"本文"}, 0, 1, u"題", {u"<P><BR>", u"本文<BR>"}},
        {"blank lines before the title are not body",
         {u"", u"   ", u"  題  ", u"本文"}, 0, 0, u"題", {u"<P>本文"}},
        {"blank lines before the title are body under title and body",
         {u"", u"   ", u"  題  ", u"本文"}, 1, 1, u"題", {u"<P><BR>", u"<BR>", u"題<BR>", u"本文<BR>"}},
        {"title only: no body, no <P>", {u"題"}, 0, 1, u"題", {}},
        {"leading spaces go, a space line becomes empty", {u"題", u"  字下げ", u"   "}, 0, 1, u"題",
         {u"<P>字下げ<BR>", u"<BR>"}},
        {"tabs and ideographic spaces stay", {u"\t題", u"　段落です。\t"}, 0, 0, u"\t題", {u"<P>　段落です。\t"}},
        {"empty file", {}, 0, 0, u"", {}},
        {"blank lines only get an empty title", {u"", u"  "}, 0, 0, u"", {}},
        {"blank lines only under title and body", {u"", u"  "}, 1, 0, u"", {u"<P>", u""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ArticleRun run = Transcribe(SjisLines(c.article), c.titleMode, c.kaigyoMode);
        EXPECT_EQ(run.title, c.title);
        EXPECT_EQ(run.body, SjisLines(c.body));
        EXPECT_TRUE(run.messages.empty());
    }
}

TEST(Article, LineEndsAreCrLfOrLoneCrAndALoneLfStaysInTheLine) {
    // Last line without its line end, a lone CR, a lone LF, CR LF.
    const std::string article = Sjis(u"題\r一行目\n続き\r\n二行目\r三行目");
    const ArticleRun run = Transcribe(article, 0, 0);
    EXPECT_EQ(run.title, u"題");
    EXPECT_EQ(run.body, Sjis(u"<P>一行目\n続き\r\n二行目\r\n三行目\r\n"));
}

TEST(Article, TitleAndBodyBytesAreShiftJis) {
    // 春の散歩 / 桜 in code page 932, written back unchanged.
    const std::string article = "\x8f\x74\x82\xcc\x8e\x55\x95\xe0\r\n\x8d\xf7\r\n";
    const ArticleRun run = Transcribe(article, 0, 1);
    EXPECT_EQ(run.title, u"春の散歩");
    EXPECT_EQ(run.body, std::string("<P>\x8d\xf7<BR>\r\n"));
}

TEST(Article, UnmappableCharactersAreWrittenAsQuestionMarks) {
    qbtest::TempDir dir;
    {
        qb::ImportFile out(dir.Path() / "out.txt");
        out.WriteLine(u"a\u00e9b\U0001F600c");
        out.Close();
    }
    EXPECT_EQ(ReadBytes(dir.Path() / "out.txt"), "a?b?c\r\n");
}

TEST(Article, AFailingTitleReadIsReportedAndTheTitleLeftEmpty) {
    // Reading this process's memory from address 0 fails with an I/O error.
    const std::filesystem::path unreadable = "/proc/self/mem";
    if (!std::filesystem::is_regular_file(unreadable)) {
        GTEST_SKIP() << "no /proc/self/mem";
    }
    qb::Module1 module;
    module.EntryTitle = u"前の記事";
    qbtest::RecordingMessages messages;
    qb::ArticleFile article(qb::FromPath(unreadable));
    qb::ReadTitle(module, article, messages);
    EXPECT_EQ(messages.Texts(), (std::vector<std::u16string>{u"読み込みデータが異常です。57"}));
    EXPECT_EQ(module.EntryTitle, u"");
    EXPECT_TRUE(article.Broken());
}

TEST(Article, OpeningFailuresCarryTheirNumbers) {
    qbtest::TempDir dir;
    std::filesystem::create_directories(dir.Path() / "folder.txt");
    WriteBytes(dir.Path() / "plain", "x");
    const struct {
        std::filesystem::path path;
        int number;
    } cases[] = {
        {dir.Path() / "missing.txt", qb::err::kFileNotFound},
        {dir.Path() / "folder.txt", qb::err::kPathFileAccess},
        {dir.Path() / "plain" / "under-a-file.txt", qb::err::kPathNotFound},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.string());
        try {
            qb::ArticleFile article(qb::FromPath(c.path));
            ADD_FAILURE() << "opened";
        } catch (const qb::RunError& e) {
            EXPECT_EQ(e.Number(), c.number);
        }
    }
}

TEST(Article, ImportFileFailuresCarryTheirNumbers) {
    qbtest::TempDir dir;
    WriteBytes(dir.Path() / "plain", "x");
    std::filesystem::create_directories(dir.Path() / "taken.txt");
    const struct {
        std::filesystem::path path;
        int number;
    } cases[] = {
        {dir.Path() / "no-such-folder" / "out.txt", qb::err::kPathNotFound},
        {dir.Path() / "plain" / "out.txt", qb::err::kPathFileAccess},
        {dir.Path() / "taken.txt", qb::err::kPathFileAccess},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.string());
        try {
            qb::ImportFile out(c.path);
            ADD_FAILURE() << "created";
        } catch (const qb::RunError& e) {
            EXPECT_EQ(e.Number(), c.number);
        }
    }
}

TEST(Article, AFullDiskIsReportedWhenTheImportFileIsClosed) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    qb::ImportFile out("/dev/full");
    for (int i = 0; i < 100000; ++i) {  // more than the stream's buffer
        out.WriteLine(u"本文の一行です。");
    }
    try {
        out.Close();
        ADD_FAILURE() << "a full disk was not reported";
    } catch (const qb::RunError& e) {
        EXPECT_EQ(e.Number(), qb::err::kDiskFull);
    }
}

TEST(Article, FolderNameIsTheLastFolderOfThePath) {
    const struct {
        std::u16string path;
        std::u16string folder;
    } cases[] = {
        {u"/blog/travel/day1.txt", u"travel"},
        {u"/blog/旅行/一日目.txt", u"旅行"},
        {u"travel/day1.txt", u"travel"},
        {u"/day1.txt", u""},
#ifdef _WIN32
        {u"C:/blog/travel/day1.txt", u"travel"},
        {u"C:/day1.txt", u"C:"},
#endif
    };
    for (const auto& c : cases) {
        qb::Module1 module;
        qb::GetArticleFolderName(module, qbtest::Native(c.path));
        EXPECT_EQ(module.ArticleFolderName, c.folder);
    }
    qb::Module1 module;
    try {
        qb::GetArticleFolderName(module, u"day1.txt");
        ADD_FAILURE() << "a path without a folder was accepted";
    } catch (const qb::RunError& e) {
        EXPECT_EQ(e.Number(), qb::err::kInvalidCall);
    }
}

}  // namespace
