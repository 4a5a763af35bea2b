#include "export/article.h"

#include <gtest/gtest.h>

#include "common/run_error.h"
#include "export/export_run.h"
#include "support/test_support.h"

namespace {

using qbtest::ReadBytes;
using qbtest::RunErrorNumber;
using qbtest::Sjis;
using qbtest::SjisLines;
using qbtest::WriteBytes;
using Lines = std::vector<std::u16string>;

using qbtest::Reading;

// The import file of one article read as reading says; no message may be shown.
std::string Transcribe(const std::string& articleBytes, const Reading& reading) {
    qbtest::TempDir dir;
    WriteBytes(dir.Path() / "a.txt", articleBytes);
    const qbtest::Transcribed t = qbtest::Transcribe(dir.Path() / "a.txt", dir.Path() / "out.txt", reading);
    EXPECT_EQ(t.error, 0);
    EXPECT_TRUE(t.messages.empty());
    return t.written;
}

// Whole lines in one piece and a title held whole; then pieces of 1 to 3 bytes cutting
// through characters, spaces and CR LF, with titles too long to be held.
const Reading kReadings[] = {
    {}, {.chunkSize = 1, .titleHeld = 1}, {.chunkSize = 2, .titleHeld = 3}, {.chunkSize = 3, .titleHeld = 2}};

TEST(Article, TitleAndBodyByFirstLineAndBreakModes) {
    constexpr auto kTitleOnly = qb::TitleMode::TitleOnly;
    constexpr auto kTitleAndBody = qb::TitleMode::TitleAndBody;
    const struct {
        const char* name;
        Lines article;
        qb::TitleMode titleMode;
        bool breaks;
        Lines written;  // the title line, then the body
    } cases[] = {
        {"three lines, title only", {u"題", u"", u"本文"}, kTitleOnly, false, {u"題", u"<P>", u"本文"}},
        {"three lines, title and body", {u"題", u"", u"本文"}, kTitleAndBody, false, {u"題", u"<P>題", u"", u"本文"}},
        {"breaks converted", {u"題", u"", u"本文"}, kTitleOnly, true, {u"題", u"<P><BR>", u"本文<BR>"}},
        {"blank lines before the title are not body",
         {u"", u"   ", u"  題  ", u"本文"},
         kTitleOnly,
         false,
         {u"題", u"<P>本文"}},
        {"blank lines before the title are body under title and body",
         {u"", u"   ", u"  題  ", u"本文"},
         kTitleAndBody,
         true,
         {u"題", u"<P><BR>", u"<BR>", u"題<BR>", u"本文<BR>"}},
        {"title only: no body, no <P>", {u"題"}, kTitleOnly, true, {u"題"}},
        {"leading spaces go, a space line becomes empty",
         {u"題", u"  字下げ", u"   "},
         kTitleOnly,
         true,
         {u"題", u"<P>字下げ<BR>", u"<BR>"}},
        {"spaces inside a line stay",
         {u"  長い  題名の   記事  ", u" a  b   c "},
         kTitleOnly,
         false,
         {u"長い  題名の   記事", u"<P>a  b   c"}},
        {"tabs and ideographic spaces stay",
         {u"\t題", u"　段落です。\t"},
         kTitleOnly,
         false,
         {u"\t題", u"<P>　段落です。\t"}},
        {"empty file: an empty title", {}, kTitleOnly, false, {u""}},
        {"blank lines only: an empty title", {u"", u"  "}, kTitleOnly, false, {u""}},
        {"blank lines only under title and body", {u"", u"  "}, kTitleAndBody, false, {u"", u"<P>", u""}},
    };
    for (Reading reading : kReadings) {
        for (const auto& c : cases) {
            SCOPED_TRACE(::testing::Message() << c.name << ", chunk " << reading.chunkSize);
            reading.titleMode = c.titleMode;
            reading.breaks = c.breaks;
            EXPECT_EQ(Transcribe(SjisLines(c.article), reading), SjisLines(c.written));
        }
    }
}

TEST(Article, LineEndsAreCrLfLoneCrOrLoneLf) {
    // Last line without its line end, a lone CR, a lone LF, CR LF, LF CR.
    const std::string article = Sjis(u"題\r一行目\n続き\r\n二行目\n\r三行目");
    for (const auto& reading : kReadings) {
        SCOPED_TRACE(reading.chunkSize);
        EXPECT_EQ(Transcribe(article, reading), Sjis(u"題\r\n<P>一行目\r\n続き\r\n二行目\r\n\r\n三行目\r\n"));
    }
}

TEST(Article, TitleAndBodyBytesAreShiftJis) {
    // 春の散歩 / 桜 in code page 932, written back unchanged.
    const std::string article = "\x8f\x74\x82\xcc\x8e\x55\x95\xe0\r\n\x8d\xf7\r\n";
    EXPECT_EQ(Transcribe(article, {.breaks = true}), article.substr(0, 10) + "<P>\x8d\xf7<BR>\r\n");
}

TEST(Article, EachArticleIsReadAsShiftJisOrUtf8) {
    const std::string mark = "\xEF\xBB\xBF";
    const auto utf8 = [](std::u16string_view text) { return qb::Utf16ToUtf8(text); };
    using Encoding = qb::ArticleEncoding;
    const struct {
        const char* name;
        std::string article;
        Encoding encoding;
        Lines written;  // the title line and the body, as code page 932 holds them
    } cases[] = {
        // Short Shift_JIS titles whose bytes are well-formed UTF-8 (C8 BA is U+023A; E4 BF 90
        // 46 is U+4FD0 and "F"): the Shift_JIS lines after them decide.
        {"half-width katakana title", "\xC8\xBA\r\n" + Sjis(u"猫の話。\r\n"), Encoding::Auto, {u"ﾈｺ", u"<P>猫の話。"}},
        {"kanji title",
         "\xE4\xBF\x90\x46\r\n" + Sjis(u"すみれの花。\r\n"),
         Encoding::Auto,
         {u"菫色", u"<P>すみれの花。"}},
        {"kanji title, Shift_JIS only after ASCII lines",
         "\xE4\xBF\x90\x46\n" + std::string(40, 'a') + "\n" + Sjis(u"花\n"),
         Encoding::Auto,
         {u"菫色", u"<P>" + std::u16string(40, u'a'), u"花"}},
        // A file of nothing else is well-formed UTF-8, and so is read as UTF-8 (U+023A).
        {"nothing but a title that is UTF-8 too", "\xC8\xBA\r\n", Encoding::Auto, {u"?"}},
        {"ASCII reads the same either way", "title\nbody", Encoding::Auto, {u"title", u"<P>body"}},
        {"UTF-8", utf8(u"猫の話\n本文です。\n"), Encoding::Auto, {u"猫の話", u"<P>本文です。"}},
        {"UTF-8 with a byte-order mark", mark + utf8(u"  猫の話\r\n本文"), Encoding::Auto, {u"猫の話", u"<P>本文"}},
        {"a byte-order mark alone", mark, Encoding::Auto, {u""}},
        {"beyond code page 932: one ? each", utf8(u"é題😀\n"), Encoding::Auto, {u"?題?"}},
        {"ill-formed UTF-8 after the mark: U+FFFD, written as ?",
         mark + utf8(u"題") + "\xC3\r\na\x80" + "b\xED\xA0\x80" + "c\xF0\x9F\x98\r\n\xC3\xA9\xE3\x81",
         Encoding::Auto,
         {u"題?", u"<P>a?b???c?", u"??"}},
        {"shift_jis: a UTF-8 file as code page 932",
         mark + utf8(u"題\n"),
         Encoding::ShiftJis,
         {qb::cp932::Decode(mark + utf8(u"題"))}},
        {"shift_jis: a title that is UTF-8 too", "\xC8\xBA\r\n", Encoding::ShiftJis, {u"ﾈｺ"}},
        {"utf-8: a Shift_JIS file", Sjis(u"猫\n"), Encoding::Utf8, {u"?L"}},
        {"utf-8: the mark is dropped", mark + "abc", Encoding::Utf8, {u"abc"}},
    };
    for (Reading reading : kReadings) {
        for (const auto& c : cases) {
            SCOPED_TRACE(::testing::Message() << c.name << ", chunk " << reading.chunkSize);
            reading.encoding = c.encoding;
            EXPECT_EQ(Transcribe(c.article, reading), SjisLines(c.written));
        }
    }
}

// The import file of one article under "公　開" and "タイトルを使う", with "改行を変換する".
std::string ExportOne(const std::string& articleBytes, qb::OutputEncoding encoding, qb::TitleMode titleMode) {
    qbtest::TempDir dir;
    qb::ExportSettings settings;
    settings.titleMode = titleMode;
    settings.kaigyoMode = qb::KaigyoMode::Br;
    settings.outputFolder = dir.Text();
    settings.fileName = u"out";
    settings.publishStatus = qb::PublishStatus::Publish;
    settings.categoryRule = qb::CategoryRule::Title;
    settings.outputEncoding = encoding;
    WriteBytes(dir.Path() / "a" / "a.txt", articleBytes);
    settings.articles = {{u"a.txt", qb::FromPath(dir.Path() / "a" / "a.txt")}};
    qb::StartDates dates;
    qbtest::FakeClock clock;
    qbtest::RecordingMessages messages;
    EXPECT_EQ(qb::RunExport(settings, dates, messages, clock).outcome, qb::ExportOutcome::Succeeded);
    return ReadBytes(dir.Path() / "out.txt");
}

TEST(Article, SameTextInAnyEncodingAndLineEndsGivesTheSameImportFile) {
    const Lines text{u"  ﾈｺと菫色の散歩  ", u"",    u"　今日は公園へ行きました。",
                     u"ｶﾒﾗ: ISO 200, F8 ",  u"   ", u"また行きたい！",
                     u"ＡＢＣ　１２３"};
    const auto join = [&](std::initializer_list<std::u16string_view> ends) {
        std::u16string joined;
        auto end = ends.begin();
        for (const auto& line : text) {
            joined += line;
            joined += *end;
            end = end + 1 == ends.end() ? ends.begin() : end + 1;
        }
        return joined;
    };
    const struct {
        const char* name;
        std::string bytes;
    } saved[] = {
        {"Shift_JIS, CR LF", Sjis(join({u"\r\n"}))},
        {"Shift_JIS, LF", Sjis(join({u"\n"}))},
        {"Shift_JIS, LF, CR and CR LF mixed", Sjis(join({u"\n", u"\r", u"\r\n"}))},
        {"UTF-8, LF", qb::Utf16ToUtf8(join({u"\n"}))},
        {"UTF-8 with a byte-order mark, CR LF", "\xEF\xBB\xBF" + qb::Utf16ToUtf8(join({u"\r\n"}))},
    };
    for (const auto encoding : {qb::OutputEncoding::EucJp, qb::OutputEncoding::Utf8, qb::OutputEncoding::ShiftJis}) {
        for (const auto titleMode : {qb::TitleMode::TitleOnly, qb::TitleMode::TitleAndBody}) {
            const std::string expected = ExportOne(saved[0].bytes, encoding, titleMode);
            if (encoding == qb::OutputEncoding::ShiftJis) {
                EXPECT_NE(expected.find(Sjis(u"TITLE: ﾈｺと菫色の散歩\r\n")), std::string::npos);
                EXPECT_NE(expected.find(Sjis(u"\r\nPRIMARY CATEGORY: ﾈｺと菫色の散歩\r\n")), std::string::npos);
            }
            for (const auto& s : saved) {
                SCOPED_TRACE(::testing::Message() << s.name << ", encoding " << static_cast<int>(encoding)
                                                  << ", TitleMode " << static_cast<int>(titleMode));
                EXPECT_EQ(ExportOne(s.bytes, encoding, titleMode), expected);
            }
        }
    }
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
    qbtest::TempDir dir;
    const qbtest::Transcribed t = qbtest::Transcribe(unreadable, dir.Path() / "out.txt");
    EXPECT_EQ(t.messages, (std::vector<std::u16string>{u"読み込みデータが異常です。57"}));
    EXPECT_EQ(t.error, qb::err::kDeviceIo);  // the body's first end-of-file test ends the reading
    EXPECT_EQ(t.written, "\r\n");            // an empty title line
}

TEST(Article, OpeningFailuresCarryTheirNumbers) {
    namespace fs = std::filesystem;
    qbtest::TempDir dir;
    fs::create_directories(dir.Path() / "folder.txt");
    WriteBytes(dir.Path() / "plain", "x");
    void (*const read)(const fs::path&) = [](const fs::path& p) { qb::ArticleFile article(qb::FromPath(p)); };
    void (*const create)(const fs::path&) = [](const fs::path& p) { qb::ImportFile out(p); };
    const struct {
        void (*open)(const fs::path&);
        fs::path path;
        int number;
    } cases[] = {
        {read, dir.Path() / "missing.txt", qb::err::kFileNotFound},
        {read, dir.Path() / "folder.txt", qb::err::kPathFileAccess},
        {read, dir.Path() / "plain" / "under-a-file.txt", qb::err::kPathNotFound},
        {create, dir.Path() / "no-such-folder" / "out.txt", qb::err::kPathNotFound},
        {create, dir.Path() / "plain" / "out.txt", qb::err::kPathFileAccess},
        {create, dir.Path() / "folder.txt", qb::err::kPathFileAccess},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RunErrorNumber([&] { c.open(c.path); }), c.number)
            << (c.open == read ? "read " : "create ") << c.path.string();
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
    EXPECT_EQ(RunErrorNumber([&] { out.Close(); }), qb::err::kDiskFull);
}

TEST(Article, FolderNameIsTheLastFolderOfThePath) {
    const struct {
        std::u16string path;
        std::u16string folder;
    } cases[] = {
        {u"/blog/travel/day1.txt", u"travel"},   {u"/blog/旅行/一日目.txt", u"旅行"},
        {u"travel/day1.txt", u"travel"},         {u"/day1.txt", u""},
#ifdef _WIN32
        {u"C:/blog/travel/day1.txt", u"travel"}, {u"C:/day1.txt", u"C:"},
#endif
    };
    for (const auto& c : cases) {
        EXPECT_EQ(qb::GetArticleFolderName(qbtest::Native(c.path)), c.folder) << qb::Utf16ToUtf8(c.path);
    }
    EXPECT_EQ(RunErrorNumber([] { (void)qb::GetArticleFolderName(u"day1.txt"); }), qb::err::kInvalidCall);
}

}  // namespace
