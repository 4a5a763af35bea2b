#include "export/export_run.h"

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <set>

#include <gtest/gtest.h>

#include "common/run_error.h"
#include "export/article.h"
#include "export/body_lines.h"
#include "export/entry_dates.h"
#include "export/loss_report.h"
#include "support/test_support.h"

namespace {

using qbtest::ReadBytes;
using qbtest::Sjis;
using qbtest::SjisLines;
using qbtest::WriteBytes;
using Lines = std::vector<std::u16string>;
using qbtest::Join;
using qbtest::kSpringWalk;
using qbtest::SpringWalkRecord;

class ExportRun : public ::testing::Test {
protected:
    void SetUp() override {
        settings.outputFolder = dir.Text();
        settings.fileName = u"out";
        settings.outputEncoding = qb::OutputEncoding::ShiftJis;  // Shift_JIS: the first pass is the result
        qb::DateFields now;
        qb::ResetStartDateToNow(dates, now, clock);  // as at start-up
        settings.startDate = {u"2026", u"04", u"01", u"09", u"00"};
    }

    // Fresh settings and start date, as after start-up, for the next case of a table.
    void Reset() {
        dates = qb::StartDates{};
        settings = qb::ExportSettings{};
        messages.shown.clear();
        SetUp();
    }

    // The spring-walk settings: 指定日, 以下に指定した名を使う 日記, １日, 変更なし.
    void ChooseSpringWalkSettings() {
        settings.publishStatus = qb::PublishStatus::Future;
        settings.categoryRule = qb::CategoryRule::GivenName;
        settings.categoryName = u"日記";
        settings.dayStep = qb::DayStep::OneDay;
    }

    void PublishBy(qb::CategoryRule rule = qb::CategoryRule::Title) {
        settings.publishStatus = qb::PublishStatus::Publish;
        settings.categoryRule = rule;
    }

    void List(const std::filesystem::path& article) {
        settings.articles.push_back({qb::FromPath(article.filename()), qb::FromPath(article)});
    }

    void AddArticle(const std::string& relative, const std::string& bytes) {
        WriteBytes(dir.Path() / "articles" / qbtest::PathOf(relative), bytes);
        AddMissingArticle(relative);
    }

    void AddMissingArticle(const std::string& relative) { List(dir.Path() / "articles" / qbtest::PathOf(relative)); }

    qb::ExportOutcome Run() {
        result = qb::RunExport(settings, dates, messages, clock);
        return result.outcome;
    }

    [[nodiscard]] std::string Output(const std::string& name = "out.txt") const {
        return ReadBytes(dir.Path() / qbtest::PathOf(name));
    }

    // What a failed run kept of its output.
    [[nodiscard]] std::string Partial() const {
        EXPECT_TRUE(std::filesystem::exists(dir.Path() / "out.txt.partial"));
        return Output("out.txt.partial");
    }

    void ExpectOnlyMessage(const std::u16string& text, qb::MessageIcon icon = qb::MessageIcon::None,
                           const std::u16string& caption = u"Quillbrook") {
        ASSERT_EQ(messages.shown.size(), 1U);
        EXPECT_EQ(messages.shown[0].text, text);
        EXPECT_EQ(messages.shown[0].icon, icon);
        EXPECT_EQ(messages.shown[0].caption, caption);
    }

    qbtest::TempDir dir;
    qb::StartDates dates;
    qb::ExportSettings settings;
    qb::ExportResult result;
    qbtest::FakeClock clock;
    qbtest::RecordingMessages messages;
};

TEST_F(ExportRun, ChecksRefuseInOrderAndTouchNothing) {
    const struct {
        const char* name;
        void (*set)(qb::ExportSettings&);
        std::u16string message;
    } cases[] = {
        {"no file name", [](qb::ExportSettings& w) { w.fileName = u""; }, u"出力用のファイル名を指定してください！"},
        {"blanks only",
         [](qb::ExportSettings& w) {
             w.fileName = u"   ";
             w.publishStatus = qb::PublishStatus::Publish;
             w.categoryRule = qb::CategoryRule::FolderName;
         },
         u"出力用のファイル名を指定してください！"},
        {"no status", [](qb::ExportSettings& w) { w.categoryRule = qb::CategoryRule::FolderName; },
         u"公開の種類を指定してください！"},
        {"no category", [](qb::ExportSettings& w) { w.publishStatus = qb::PublishStatus::Draft; },
         u"カテゴリを指定してください！"},
        {"no day step under 指定日",
         [](qb::ExportSettings& w) {
             w.publishStatus = qb::PublishStatus::Future;
             w.categoryRule = qb::CategoryRule::FileName;
         },
         u"日付の差分を選んでください！"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        qb::ExportSettings w = settings;
        c.set(w);
        w.articles = {{u"a.txt", qb::FromPath(dir.Path() / "a.txt")}};
        const qb::StartDates before = dates;
        messages.shown.clear();
        const qb::ExportResult refused = qb::RunExport(w, dates, messages, clock);
        EXPECT_EQ(refused.outcome, qb::ExportOutcome::Refused);
        ExpectOnlyMessage(c.message);
        EXPECT_FALSE(refused.listsCleared);
        EXPECT_EQ(refused.dateFields, w.startDate);
        EXPECT_EQ(dates.StartDateText, before.StartDateText);
        EXPECT_FALSE(std::filesystem::exists(dir.Path() / (qb::ToPath(w.fileName).string() + ".txt")));
    }
}

TEST_F(ExportRun, SpringWalkRecordsByteForByteInItsThreeVariants) {
    const struct {
        const char* name;
        std::int16_t kaigyo;
        std::int16_t title;
    } variants[] = {
        {"改行を変換する", 1, 0},
        {"なし", 0, 0},
        {"タイトル＆本文 with 改行を変換する", 1, 1},
        {"タイトル＆本文 with なし", 0, 1},
    };
    for (const auto& v : variants) {
        SCOPED_TRACE(v.name);
        Reset();
        ChooseSpringWalkSettings();
        settings.kaigyoMode = static_cast<qb::KaigyoMode>(v.kaigyo);
        settings.titleMode = static_cast<qb::TitleMode>(v.title);
        AddArticle("day1.txt", SjisLines(kSpringWalk));
        AddArticle("day2.txt", SjisLines(kSpringWalk));
        ASSERT_EQ(Run(), qb::ExportOutcome::Succeeded);
        const bool br = v.kaigyo == 1;
        const bool tb = v.title == 1;
        const std::string out = Output();
        EXPECT_EQ(out, SjisLines(Join(SpringWalkRecord(u"04/01/2026 09:00:00", br, tb),
                                      SpringWalkRecord(u"04/02/2026 09:00:00", br, tb))));
        // The title line in code page 932 as written out by hand, apart from the encoder.
        const std::string start =
            "AUTHOR:\r\nTITLE: \x8f\x74\x82\xcc\x8e\x55\x95\xe0\r\nDATE:  04/01/2026 09:00:00\r\n";
        EXPECT_EQ(out.substr(0, start.size()), start);
        ExpectOnlyMessage(u"書き込み正常終了");
    }
}

// Characters that Movable Type's Shift_JIS and EUC-JP import loses, in the title and the
// body, kept or written as references, in each encoding; the category stays as it is.
TEST_F(ExportRun, PlatformCharactersAreKeptOrWrittenAsReferences) {
    const struct {
        std::u16string c;
        std::u16string reference;
        bool inEucJp;  // the re-encoding to EUC-JP has a code for it
        bool inCp932;
    } rows[] = {
        {u"①", u"&#9312;", true, true},    {u"㈱", u"&#12849;", true, true},  {u"髙", u"&#39641;", false, true},
        {u"﨑", u"&#64017;", false, true}, {u"😀", u"&#128512;", true, false}, {u"橋", u"橋", true, true},
    };
    for (const auto& row : rows) {
        for (const auto encoding :
             {qb::OutputEncoding::ShiftJis, qb::OutputEncoding::EucJp, qb::OutputEncoding::Utf8}) {
            for (const auto choice : {qb::PlatformChars::Keep, qb::PlatformChars::Reference}) {
                SCOPED_TRACE(qb::Utf16ToUtf8(row.c) + " " + std::to_string(static_cast<int>(encoding)) +
                             (choice == qb::PlatformChars::Reference ? " reference" : " keep"));
                Reset();
                PublishBy(qb::CategoryRule::GivenName);
                settings.categoryName = u"日記";
                settings.outputEncoding = encoding;
                settings.platformChars = choice;
                // In UTF-8, where every character is at hand.
                AddArticle("a.txt", qb::Utf16ToUtf8(u"題" + row.c + u"\r\n本文" + row.c + u"\r\n"));
                const bool referenced = choice == qb::PlatformChars::Reference;
                const std::u16string written = referenced ? row.reference : (row.inCp932 ? row.c : u"?");
                if (encoding == qb::OutputEncoding::EucJp && !row.inEucJp && !referenced) {
                    ASSERT_EQ(Run(), qb::ExportOutcome::Failed);
                    EXPECT_EQ(messages.shown.back().text, u"書き込み異常終了です。6");
                    EXPECT_EQ(messages.shown.back().details,
                              qb::EucGapText(u"a.txt", {row.c[0], qb::LineKind::Title, 0}));
                    continue;
                }
                ASSERT_EQ(Run(), qb::ExportOutcome::Succeeded);
                EXPECT_EQ(Output(), qbtest::AsWritten(
                                        SjisLines(qbtest::Record(u"題" + written, u"04/01/2026 09:00:00", u"Publish",
                                                                 u"日記", {u"<P>本文" + written, u"", u"</P>", u""})),
                                        encoding));
                EXPECT_EQ(messages.shown.back().details, written == u"?" ? u"「?」で書いた文字: 2 文字 (a.txt)" : u"");
            }
        }
    }
    // A category value stays as it is: EUC-JP still has no code for it.
    Reset();
    PublishBy(qb::CategoryRule::GivenName);
    settings.categoryName = u"髙橋";
    settings.outputEncoding = qb::OutputEncoding::EucJp;
    settings.platformChars = qb::PlatformChars::Reference;
    AddArticle("a.txt", SjisLines({u"題", u"本文"}));
    ASSERT_EQ(Run(), qb::ExportOutcome::Failed);
    EXPECT_EQ(messages.shown.back().details, qb::EucGapText(u"a.txt", {U'髙', qb::LineKind::Plain, 0}));
}

// What an importer would lose is reported after "書き込み正常終了"; the file is written.
TEST_F(ExportRun, ASuccessfulRunReportsWhatAnImporterWouldLose) {
    PublishBy();
    settings.outputEncoding = qb::OutputEncoding::Utf8;
    AddArticle("a.txt", SjisLines({u"同じ題", u"本文"}));
    AddArticle("b.txt", SjisLines({u"同じ題", u"<img src=\"" + std::u16string(9000, u'x') + u"\">"}));
    AddArticle("c.txt", SjisLines({std::u16string(3000, u'長'), u"本文"}));
    ASSERT_EQ(Run(), qb::ExportOutcome::Succeeded);
    EXPECT_EQ(messages.shown.back().text, u"書き込み正常終了");
    EXPECT_EQ(qb::Utf16ToUtf8(messages.shown.back().details),
              "長すぎて切り詰めたタイトル: 1 件 (c.txt)\n"
              "長すぎて折り返せなかったタグ: 1 件 (b.txt)\n"
              "前の記事とタイトルも日付も同じ記事 (WordPress は取り込みません): 1 件 (b.txt)");
    // Broken at its blank; the value that has none is written whole.
    EXPECT_NE(Output().find("<P><wbr\r\n><img \r\nsrc=\"" + std::string(9000, 'x') + "\">\r\n\r\n</P>"),
              std::string::npos);
}

// A body line that an importer would read as a line of the format gets its first character
// after the blanks as a character reference; every other line is written as it was.
TEST_F(ExportRun, BodyLinesThatImportersReadAsTheFormatsOwnAreMended) {
    using namespace std::string_literals;
    const std::u16string tabs(70000, u'\t');  // more blanks than are held back
    const struct {
        std::u16string line;     // in the article
        bool br;                 // 改行を変換する
        std::u16string written;  // the body line of the import file
    } rows[] = {
        {u"--------", false, u"&#45;-------"},
        {u"-----", false, u"&#45;----"},
        {u"\t-----", false, u"\t&#45;----"},
        {u"  -----\t\v ", false, u"&#45;----\t\v"},
        {u"\0BODY:"s, false, u"\0&#66;ODY:"s},
        {u"EXTENDED BODY:", false, u"&#69;XTENDED BODY:"},
        {u"PING:", false, u"&#80;ING:"},
        {u"STATUS: draft", true, u"&#83;TATUS: draft<BR>"},
        {u"PRIMARY CATEGORY: 旅", false, u"&#80;RIMARY CATEGORY: 旅"},
        {u"URL: https://example.jp/", false, u"&#85;RL: https://example.jp/"},
        {u"BLOG NAME: x", false, u"&#66;LOG NAME: x"},
        {u"-----" + tabs + u"x", false, u"&#45;----" + tabs + u"x"},
        // Lines that stay as they are.
        {u"------", false, u"------"},
        {u"-----x", false, u"-----x"},
        {u"-----\tx", false, u"-----\tx"},
        {u"Status: draft", false, u"Status: draft"},
        {u"URLs: x", false, u"URLs: x"},
        {u"BODY: x", false, u"BODY: x"},
        {u"-----", true, u"-----<BR>"},
        {u"BODY:", true, u"BODY:<BR>"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(qb::Utf16ToUtf8(row.line.substr(0, 30)) + (row.br ? " with <BR>" : ""));
        Reset();
        PublishBy();
        settings.kaigyoMode = row.br ? qb::KaigyoMode::Br : qb::KaigyoMode::Keep;
        AddArticle("a.txt", SjisLines({u"題", u"前", row.line}));
        ASSERT_EQ(Run(), qb::ExportOutcome::Succeeded);
        const std::u16string br = row.br ? u"<BR>" : u"";
        // The line of tabs is longer than a line may be: it arrives in pieces.
        EXPECT_EQ(qbtest::WithoutBreaks(Output()),
                  SjisLines(qbtest::Record(u"題", u"04/01/2026 09:00:00", u"Publish", u"題",
                                           {u"<P>前" + br, row.written, br, u"</P>", br})));
        // The same composed line arriving one character at a time.
        std::u16string written;
        qb::BodyLineGuard guard([&](std::u16string_view text) { written += text; });
        for (const char16_t c : std::u16string(qb::TrimSpaces(row.line)) + br) {
            guard.Feed(std::u16string_view(&c, 1));
        }
        guard.EndLine();
        EXPECT_EQ(written, row.written);
    }
}

TEST_F(ExportRun, SuccessEmptiesListsAndNameAndResetsTheStartDate) {
    ChooseSpringWalkSettings();
    dates.StartDate = qb::DateTime{2020, 1, 1, 0, 0, 0};
    dates.StartDateText = u"2020/01/01 00:00:00";
    AddArticle("a.txt", SjisLines(kSpringWalk));
    clock.now = qb::DateTime{2027, 3, 4, 23, 5, 45};
    ASSERT_EQ(Run(), qb::ExportOutcome::Succeeded);
    ExpectOnlyMessage(u"書き込み正常終了");
    EXPECT_TRUE(result.listsCleared);
    EXPECT_TRUE(result.fileNameCleared);
    EXPECT_EQ(dates.StartDate, (qb::DateTime{2027, 3, 4, 23, 5, 45}));
    EXPECT_EQ(dates.StartDateText, u"2027/03/04 23:05:45");
    EXPECT_EQ(dates.WorkDateText, u"2027/03/04 23:05:45");
    EXPECT_EQ(result.dateFields, (qb::DateFields{u"2027", u"03", u"04", u"23", u"05"}));
    // Pressing again right after is refused: the name is gone.
    messages.shown.clear();
    settings.fileName.clear();
    EXPECT_EQ(Run(), qb::ExportOutcome::Refused);
    ExpectOnlyMessage(u"出力用のファイル名を指定してください！");
}

TEST_F(ExportRun, NameKeepsItsBlanksAndAnExistingFileIsReplaced) {
    PublishBy(qb::CategoryRule::GivenName);
    settings.fileName = u" 出力 ";
    WriteBytes(dir.Path() / qbtest::PathOf(" 出力 .txt"), std::string(5000, 'x'));
    AddArticle("a.txt", SjisLines({u"題"}));
    settings.outputFolder += qb::kPathSeparator;  // a folder already ending in its separator gets no second one
    ASSERT_EQ(Run(), qb::ExportOutcome::Succeeded);
    const std::string out = Output(" 出力 .txt");
    EXPECT_EQ(out.substr(0, 9), "AUTHOR:\r\n");
    EXPECT_EQ(out.find('x'), std::string::npos);
}

#ifndef _WIN32  // POSIX permission bits and links
// The new import file takes the place of the old one as the old one was: its permission
// bits kept, a link kept as a link. A new one gets the usual bits of a new file.
TEST_F(ExportRun, TheReplacedImportFileKeepsItsPermissionsAndItsLink) {
    namespace fs = std::filesystem;
    const ::mode_t mask = ::umask(0);
    ::umask(mask);
    PublishBy();
    AddArticle("a.txt", SjisLines({u"題"}));
    const auto modeOf = [](const fs::path& p) { return static_cast<unsigned>(fs::status(p).permissions()); };

    ASSERT_EQ(Run(), qb::ExportOutcome::Succeeded);
    EXPECT_EQ(modeOf(dir.Path() / "out.txt"), 0666U & ~static_cast<unsigned>(mask));

    fs::permissions(dir.Path() / "out.txt", fs::perms(0640));
    ASSERT_EQ(Run(), qb::ExportOutcome::Succeeded);
    EXPECT_EQ(modeOf(dir.Path() / "out.txt"), 0640U);
    const std::string expected = Output();  // the same from now on: the date was reset to the clock

    fs::remove(dir.Path() / "out.txt");
    fs::create_symlink("real.txt", dir.Path() / "out.txt");
    WriteBytes(dir.Path() / "real.txt", "old");
    ASSERT_EQ(Run(), qb::ExportOutcome::Succeeded);
    EXPECT_TRUE(fs::is_symlink(dir.Path() / "out.txt"));
    EXPECT_EQ(Output("real.txt"), expected);
}
#endif

// 公開 and 下書き write the typed date into every record and never read it as a date;
// 指定日 writes it into the first record only and steps on from it.
TEST_F(ExportRun, TheTypedDateIsWrittenAsTyped) {
    for (const auto& [status, name] :
         {std::pair{qb::PublishStatus::Publish, "Publish"}, std::pair{qb::PublishStatus::Draft, "Draft"},
          std::pair{qb::PublishStatus::Future, "Future"}}) {
        SCOPED_TRACE(name);
        const bool future = status == qb::PublishStatus::Future;
        Reset();
        settings.publishStatus = status;
        settings.categoryRule = qb::CategoryRule::Title;
        settings.dayStep = qb::DayStep::OneDay;
        settings.startDate.month = u"4";
        settings.startDate.hour = future ? u"09" : u"9時";
        AddArticle("a.txt", SjisLines({u"一"}));
        AddArticle("b.txt", SjisLines({u"二"}));
        ASSERT_EQ(Run(), qb::ExportOutcome::Succeeded);
        const std::string out = Output();
        const std::string date = Sjis(future ? u"DATE:  4/01/2026 09:00:00\r\n" : u"DATE:  4/01/2026 9時:00:00\r\n");
        const auto first = out.find(date);
        ASSERT_NE(first, std::string::npos);
        EXPECT_NE(out.find(future ? "DATE:  04/02/2026 09:00:00\r\n" : date, first + 1), std::string::npos);
        EXPECT_NE(out.find("STATUS:   " + std::string(name) + "\r\n"), std::string::npos);
        // タイトルを使う: the category repeats the title.
        EXPECT_NE(out.find(Sjis(u"PRIMARY CATEGORY: 二\r\n")), std::string::npos);
    }
}

TEST_F(ExportRun, CategoryRules) {
    using Rule = qb::CategoryRule;
    const struct {
        Rule rule;
        std::u16string name;
        std::string fileName;
        std::u16string category;
    } cases[] = {
        {Rule::FolderName, u"", "memo.txt", u"旅行"}, {Rule::Title, u"", "memo.txt", u"題名"},
        {Rule::GivenName, u"", "memo.txt", u""},      {Rule::GivenName, u" 日記 ", "memo.txt", u" 日記 "},
        {Rule::FileName, u"", "memo.txt", u"memo"},   {Rule::FileName, u"", "notes-2026", u"notes-"},
        {Rule::FileName, u"", "memo", u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fileName + " " + std::to_string(static_cast<int>(c.rule)));
        Reset();
        settings.publishStatus = qb::PublishStatus::Draft;
        settings.categoryRule = c.rule;
        settings.categoryName = c.name;
        AddArticle("旅行/" + c.fileName, SjisLines({u"題名", u"本文"}));
        ASSERT_EQ(Run(), qb::ExportOutcome::Succeeded);
        EXPECT_NE(Output().find(Sjis(u"\r\nPRIMARY CATEGORY: " + c.category + u"\r\n-----\r\n")), std::string::npos);
    }
}

TEST_F(ExportRun, MissingArticleKeepsTheRecordsBeforeIt) {
    ChooseSpringWalkSettings();
    settings.kaigyoMode = qb::KaigyoMode::Br;
    AddArticle("day1.txt", SjisLines(kSpringWalk));
    AddMissingArticle("gone.txt");
    AddArticle("day3.txt", SjisLines(kSpringWalk));

    EXPECT_EQ(Run(), qb::ExportOutcome::Failed);
    ExpectOnlyMessage(u"書き込み異常終了です。53");
    EXPECT_TRUE(result.listsCleared);
    EXPECT_FALSE(result.fileNameCleared);
    EXPECT_NE(result.dateFields, settings.startDate);  // advanced by one record
    EXPECT_EQ(Partial(), SjisLines(SpringWalkRecord(u"04/01/2026 09:00:00", true, false)));
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "out.txt"));
}

TEST_F(ExportRun, NumberedFailures) {
    WriteBytes(dir.Path() / "plain", "x");
    const struct {
        const char* name;
        void (*set)(qb::ExportSettings&, const std::filesystem::path& dir);
        std::u16string message;
    } cases[] = {
        {"invalid date under 指定日",
         [](qb::ExportSettings& w, const std::filesystem::path&) {
             w.publishStatus = qb::PublishStatus::Future;
             w.dayStep = qb::DayStep::SameDay;
             w.startDate.month = u"13";
         },
         u"書き込み異常終了です。13"},
        {"output folder missing",
         [](qb::ExportSettings& w, const std::filesystem::path& d) { w.outputFolder = qb::FromPath(d / "nowhere"); },
         u"書き込み異常終了です。76"},
        {"output folder is a file",
         [](qb::ExportSettings& w, const std::filesystem::path& d) { w.outputFolder = qb::FromPath(d / "plain"); },
         u"書き込み異常終了です。75"},
        {"output folder under a file",
         [](qb::ExportSettings& w, const std::filesystem::path& d) {
             w.outputFolder = qb::FromPath(d / "plain" / "sub");
         },
         u"書き込み異常終了です。76"},
        {"output name is a folder",
         [](qb::ExportSettings& w, const std::filesystem::path& d) {
             std::filesystem::create_directories(d / "taken.txt");
             w.fileName = u"taken";
         },
         u"書き込み異常終了です。75"},
        {"short file name under ファイル名を使う",
         [](qb::ExportSettings& w, const std::filesystem::path&) {
             w.categoryRule = qb::CategoryRule::FileName;
             w.articles[0].name = u"a.t";
         },
         u"書き込み異常終了です。5"},
        {"article is a folder",
         [](qb::ExportSettings& w, const std::filesystem::path& d) {
             std::filesystem::create_directories(d / "folder.txt");
             w.articles[0] = {u"folder.txt", qb::FromPath(d / "folder.txt")};
         },
         u"書き込み異常終了です。75"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        PublishBy(qb::CategoryRule::FolderName);
        AddArticle("a/b.txt", SjisLines({u"題"}));
        c.set(settings, dir.Path());
        EXPECT_EQ(Run(), qb::ExportOutcome::Failed);
        ExpectOnlyMessage(c.message);
        EXPECT_TRUE(result.listsCleared);
    }
}

// The previous import file survives every failure byte for byte; the failed run's
// output is beside it as out.txt.partial, and no work file is left.
TEST_F(ExportRun, AFailedRunLeavesThePreviousImportFileAsItWas) {
    const std::string previous = "AUTHOR:\r\nTITLE: " + Sjis(u"前回") + "\r\n" + std::string(300000, 'p') + "\r\n";
    const std::string written = "AUTHOR:\r\nTITLE: \xfa\x40\r\n";
    const struct {
        const char* name;
        void (*set)(qb::ExportSettings&);
        int articles;  // 0: none, 1: one, 2: one and a missing one
        qb::ExportOutcome outcome;
        std::u16string message;
        std::string partialStart;  // empty: the partial file is empty
    } cases[] = {
        {"missing article", [](qb::ExportSettings&) {}, 2, qb::ExportOutcome::Failed, u"書き込み異常終了です。53",
         written},
        {"invalid date",
         [](qb::ExportSettings& w) {
             w.publishStatus = qb::PublishStatus::Future;
             w.dayStep = qb::DayStep::SameDay;
             w.startDate.month = u"13";
         },
         1, qb::ExportOutcome::Failed, u"書き込み異常終了です。13", written},
        {"EUC-JP failure", [](qb::ExportSettings& w) { w.outputEncoding = qb::OutputEncoding::EucJp; }, 1,
         qb::ExportOutcome::Failed, u"書き込み異常終了です。6", written},
        {"UTF-8 failure", [](qb::ExportSettings& w) { w.outputEncoding = qb::OutputEncoding::Utf8; }, 0,
         qb::ExportOutcome::Utf8Failed, u"UTF-8 への変換に失敗しました。", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Reset();
        PublishBy();
        c.set(settings);
        WriteBytes(dir.Path() / "out.txt", previous);
        if (c.articles > 0) {
            // U+2170, which EUC-JP cannot hold, and a body larger than one write.
            AddArticle("ibm.txt", "\xfa\x40\r\n" + std::string(400000, 'b') + "\r\n");
        }
        if (c.articles > 1) {
            AddMissingArticle("gone.txt");
        }
        EXPECT_EQ(Run(), c.outcome);
        ASSERT_EQ(messages.shown.size(), 1U);
        EXPECT_EQ(messages.shown[0].text, c.message);
        EXPECT_TRUE(Output() == previous) << "the previous import file changed";
        const std::string partial = Partial();
        EXPECT_EQ(partial.substr(0, c.partialStart.size()), c.partialStart);
        EXPECT_EQ(partial.empty(), c.partialStart.empty());
        EXPECT_EQ(qbtest::WorkFiles(dir.Path()), std::vector<std::string>{});
    }
}

// Everything under folder, as paths relative to it.
std::set<std::string> Contents(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        names.insert(entry.path().lexically_relative(folder).generic_string());
    }
    return names;
}

TEST_F(ExportRun, NamesThatLeaveTheOutputFolderAreRefusedWith52) {
    const std::filesystem::path out = dir.Path() / "out";
    std::filesystem::create_directories(out / "sub");
    for (const std::u16string& name :
         {std::u16string(u"../x"), std::u16string(u"sub/b"), std::u16string(u"a\\b"), std::u16string(u"."),
          std::u16string(u".."), std::u16string(u"/x"), std::u16string(u"a\0b", 3)}) {
        SCOPED_TRACE(qb::Utf16ToUtf8(name));
        Reset();
        PublishBy();
        settings.outputFolder = qb::FromPath(out);
        settings.fileName = name;
        AddArticle("a.txt", SjisLines({u"題"}));
        EXPECT_EQ(Run(), qb::ExportOutcome::Failed);
        ExpectOnlyMessage(u"書き込み異常終了です。52");
        EXPECT_TRUE(result.listsCleared);
        EXPECT_EQ(Contents(dir.Path()), (std::set<std::string>{"articles", "articles/a.txt", "out", "out/sub"}));
    }
}

// The import file is not there yet, but one of the articles names it, in any spelling:
// refused before anything is created.
TEST_F(ExportRun, AListedImportFileThatDoesNotExistYetIsRefusedWith75) {
    namespace fs = std::filesystem;
    const fs::path out = dir.Path() / "out";
    fs::create_directories(out / "sub");
    std::error_code noLink;  // Wine has no links; Windows gives them to administrators only
    fs::create_directory_symlink(out, dir.Path() / "link", noLink);
#ifdef _WIN32
    const bool haveFds = false;  // under Wine "/proc" is found on drive Z:, but a descriptor is no name
#else
    const bool haveFds = fs::is_directory("/proc/self/fd");
#endif
    const struct {
        const char* name;
        fs::path article;  // empty: the work file by its descriptor, once it exists
    } cases[] = {
        {"same path", out / "self.txt"},
        {"with dot segments", out / "sub" / ".." / "." / "self.txt"},
        {"through a linked folder", dir.Path() / "link" / "self.txt"},
        {"the new file itself", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if ((c.article.empty() && !haveFds) || (noLink && c.article.parent_path() == dir.Path() / "link")) {
            continue;
        }
        Reset();
        PublishBy();
        settings.outputFolder = qb::FromPath(out);
        settings.fileName = u"self";
        AddArticle("a.txt", SjisLines({u"題", u"本文"}));
        fs::path article = c.article;
        if (article.empty()) {
            // The lowest free descriptor, which the new file is about to get.
            const int next = ::dup(0);
            ::close(next);
            article = "/proc/self/fd/" + std::to_string(next);
        }
        List(article);
        EXPECT_EQ(Run(), qb::ExportOutcome::Failed);
        ExpectOnlyMessage(u"書き込み異常終了です。75");
        EXPECT_EQ(Contents(out), std::set<std::string>{"sub"});
    }
}

// Work files that a killed run left are removed by the next run into the folder once
// they are an hour old; nothing else is.
TEST_F(ExportRun, StaleWorkFilesOfOursAreRemoved) {
    namespace fs = std::filesystem;
    const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(61);
    const auto recent = fs::file_time_type::clock::now() - std::chrono::minutes(59);
    const struct {
        std::string name;
        bool old;
        bool removed;
    } files[] = {
        {".quillbrook-Ab12Cd", true, true},   {".quillbrook-zzzzzz", true, true},
        {".quillbrook-Ab12Ce", false, false}, {".quillbrook-Ab12C", true, false},
        {".quillbrook-Ab12Cd7", true, false}, {".quillbrook-Ab_2Cd", true, false},
        {"x.quillbrook-Ab12Cd", true, false}, {"out.txt.partial", true, false},
    };
    for (const auto& f : files) {
        WriteBytes(dir.Path() / f.name, "x");
        fs::last_write_time(dir.Path() / f.name, f.old ? old : recent);
    }
    fs::create_directory(dir.Path() / ".quillbrook-Folder");
    std::error_code ec;  // Wine sets no time on a folder and makes no links
    fs::last_write_time(dir.Path() / ".quillbrook-Folder", old, ec);
    std::error_code noLink;
    fs::create_symlink("out.txt.partial", dir.Path() / ".quillbrook-Linked", noLink);
    WriteBytes(dir.Path() / "articles" / ".quillbrook-Other1", "x");  // not the output folder
    fs::last_write_time(dir.Path() / "articles" / ".quillbrook-Other1", old);

    PublishBy();
    AddArticle("a.txt", SjisLines({u"題"}));
    ASSERT_EQ(Run(), qb::ExportOutcome::Succeeded);
    for (const auto& f : files) {
        EXPECT_EQ(fs::exists(dir.Path() / f.name), !f.removed) << f.name;
    }
    EXPECT_TRUE(fs::is_directory(dir.Path() / ".quillbrook-Folder"));
    EXPECT_TRUE(noLink || fs::is_symlink(dir.Path() / ".quillbrook-Linked"));
    EXPECT_TRUE(fs::exists(dir.Path() / "articles" / ".quillbrook-Other1"));
}

TEST_F(ExportRun, AnImportFileThatIsAListedArticleIsNotEmptied) {
    PublishBy();
    const std::string article = SjisLines({u"題", u"本文"});
    AddArticle("a.txt", SjisLines({u"一"}));
    AddArticle("out.txt", article);
    settings.outputFolder = qb::FromPath(dir.Path() / "articles");
    EXPECT_EQ(Run(), qb::ExportOutcome::Failed);
    ExpectOnlyMessage(u"書き込み異常終了です。75");
    EXPECT_EQ(ReadBytes(dir.Path() / "articles" / "out.txt"), article);
}

// The same number on every platform (Windows' own error under Wine).
TEST_F(ExportRun, AFolderThatRefusesNewFilesGives70) {
    const auto refusing = qbtest::FolderThatRefusesNewFiles();
    if (!refusing) {
        GTEST_SKIP() << "no folder that refuses new files";
    }
    PublishBy();
    settings.outputFolder = qb::FromPath(*refusing);
    AddArticle("a.txt", SjisLines({u"題"}));
    EXPECT_EQ(Run(), qb::ExportOutcome::Failed);
    ExpectOnlyMessage(u"書き込み異常終了です。70");
    EXPECT_TRUE(result.listsCleared);
}

TEST_F(ExportRun, AFailingTitleReadGoesOnUntilTheBodyCannotBeRead) {
    if (!std::filesystem::is_regular_file("/proc/self/mem")) {
        GTEST_SKIP() << "no /proc/self/mem";
    }
    PublishBy();
    settings.articles = {{u"mem", u"/proc/self/mem"}};
    EXPECT_EQ(Run(), qb::ExportOutcome::Failed);
    EXPECT_EQ(messages.Texts(),
              (std::vector<std::u16string>{u"読み込みデータが異常です。57", u"書き込み異常終了です。57"}));
    Lines head = qbtest::Record(u"", u"04/01/2026 09:00:00", u"Publish", u"", {});
    head.resize(head.size() - 2);  // no end: the body could not be read
    EXPECT_EQ(Partial(), SjisLines(head));
}

TEST_F(ExportRun, InvalidDateStopsAfterTheDateLine) {
    settings.publishStatus = qb::PublishStatus::Future;
    settings.dayStep = qb::DayStep::SameDay;
    settings.categoryRule = qb::CategoryRule::Title;
    settings.startDate.day = u"31";
    settings.startDate.month = u"02";
    AddArticle("a.txt", SjisLines({u"題"}));
    EXPECT_EQ(Run(), qb::ExportOutcome::Failed);
    ExpectOnlyMessage(u"書き込み異常終了です。13");
    EXPECT_EQ(Partial(), SjisLines({u"AUTHOR:", u"TITLE: 題", u"DATE:  02/31/2026 09:00:00"}));
}

TEST_F(ExportRun, CounterFailureEndsTheProgramWithTheRecordWrittenSoFar) {
    ChooseSpringWalkSettings();
    settings.timeStep.kind = qb::TimeStep::Kind::Random;
    clock.counter = std::nullopt;
    AddArticle("a.txt", SjisLines({u"題"}));
    AddArticle("b.txt", SjisLines({u"題"}));
    EXPECT_EQ(Run(), qb::ExportOutcome::ProgramMustEnd);
    ExpectOnlyMessage(u"現在の環境では使用できません", qb::MessageIcon::Critical, u"Ranking");
    EXPECT_EQ(Partial(), SjisLines({u"AUTHOR:", u"TITLE: 題", u"DATE:  04/01/2026 09:00:00"}));
}

// An empty list makes an empty import file in Shift_JIS; in EUC-JP it fails with 9 and in
// UTF-8 with the conversion's exclamation, which keeps the lists, the name and the date.
TEST_F(ExportRun, AnEmptyListInEachEncoding) {
    using Outcome = qb::ExportOutcome;
    const struct {
        qb::OutputEncoding encoding;
        Outcome outcome;
        std::u16string message;
        qb::MessageIcon icon;
    } cases[] = {
        {qb::OutputEncoding::ShiftJis, Outcome::Succeeded, u"書き込み正常終了", qb::MessageIcon::None},
        {qb::OutputEncoding::EucJp, Outcome::Failed, u"書き込み異常終了です。9", qb::MessageIcon::None},
        {qb::OutputEncoding::Utf8, Outcome::Utf8Failed, u"UTF-8 への変換に失敗しました。",
         qb::MessageIcon::Exclamation},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.encoding));
        Reset();
        std::filesystem::remove(dir.Path() / "out.txt");
        std::filesystem::remove(dir.Path() / "out.txt.partial");
        PublishBy(qb::CategoryRule::FolderName);
        settings.outputEncoding = c.encoding;
        const std::u16string startBefore = dates.StartDateText;
        clock.now = qb::DateTime{2030, 1, 1, 0, 0, 0};
        EXPECT_EQ(Run(), c.outcome);
        ExpectOnlyMessage(c.message, c.icon);
        const bool written = c.outcome == Outcome::Succeeded;
        EXPECT_EQ(std::filesystem::exists(dir.Path() / "out.txt"), written);
        EXPECT_EQ(written ? Output() : Partial(), "");
        EXPECT_EQ(result.listsCleared, c.outcome != Outcome::Utf8Failed);
        EXPECT_EQ(result.fileNameCleared, written);
        EXPECT_EQ(dates.StartDateText == startBefore, !written);
    }
}

// U+2170 (small roman numeral one) in each encoding: EUC-JP cannot hold it and fails
// with 6, keeping the Shift_JIS first pass.
TEST_F(ExportRun, ACharacterOnlyCodePage932HoldsInEachEncoding) {
    for (const auto& [encoding, start] : {std::pair{qb::OutputEncoding::ShiftJis, "AUTHOR:\r\nTITLE: \xfa\x40\r"},
                                          std::pair{qb::OutputEncoding::Utf8, "AUTHOR:\r\nTITLE: \xe2\x85\xb0"},
                                          std::pair{qb::OutputEncoding::EucJp, "AUTHOR:\r\nTITLE: \xfa\x40"}}) {
        SCOPED_TRACE(start);
        const bool written = encoding != qb::OutputEncoding::EucJp;
        Reset();
        PublishBy(qb::CategoryRule::FolderName);
        settings.outputEncoding = encoding;
        AddArticle("a/ibm.txt", "\xfa\x40\r\n");
        ASSERT_EQ(Run(), written ? qb::ExportOutcome::Succeeded : qb::ExportOutcome::Failed);
        ExpectOnlyMessage(written ? u"書き込み正常終了" : u"書き込み異常終了です。6");
        EXPECT_TRUE(result.listsCleared);
        EXPECT_EQ((written ? Output() : Partial()).substr(0, std::string(start).size()), start);
    }
}

}  // namespace
