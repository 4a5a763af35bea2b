// The built quillbrook-export, run as a user runs it.

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "cli/cli_options.h"
#include "cli_platform.h"
#include "support/test_support.h"

namespace {

using qbtest::CrLfToLf;
using qbtest::InEncoding;
using qbtest::Join;
using qbtest::PathOf;
using qbtest::ReadBytes;
using qbtest::Result;
using qbtest::RunCli;
using qbtest::Sjis;
using qbtest::SjisLines;
using qbtest::WriteBytes;
using Lines = std::vector<std::u16string>;

const std::vector<std::string> kSpringWalkOptions{
    "--name",   "out", "--status", "future",           "--category", "name", "--category-name", "日記",
    "--breaks", "br",  "--start",  "2026/04/01 09:00", "--day-step", "1",    "--time-step",     "none"};

// Every line of out that starts with key, with its CR LF, in the order found.
std::string LinesStartingWith(const std::string& out, const std::string& key) {
    std::string lines;
    for (auto pos = out.find(key); pos != std::string::npos; pos = out.find(key, pos + 1)) {
        lines += out.substr(pos, out.find("\r\n", pos) + 2 - pos);
    }
    return lines;
}

class Cli : public ::testing::Test {
protected:
    std::vector<std::string> Articles(const std::vector<std::pair<std::string, std::string>>& files) {
        std::vector<std::string> paths;
        for (const auto& [name, bytes] : files) {
            WriteBytes(dir.Path() / "articles" / PathOf(name), bytes);
            paths.push_back("articles/" + name);
        }
        return paths;
    }
    [[nodiscard]] std::string Output(const std::string& name = "out.txt") const {
        return ReadBytes(dir.Path() / PathOf(name));
    }
    qbtest::TempDir dir;
};

TEST_F(Cli, SpringWalkInEachEncoding) {
    const auto articles =
        Articles({{"day1.txt", SjisLines(qbtest::kSpringWalk)}, {"day2.txt", SjisLines(qbtest::kSpringWalk)}});
    const std::string sjis = SjisLines(Join(qbtest::SpringWalkRecord(u"04/01/2026 09:00:00", true, false),
                                            qbtest::SpringWalkRecord(u"04/02/2026 09:00:00", true, false)));
    for (const std::string encoding : {"shift_jis", "euc-jp", "utf-8"}) {
        SCOPED_TRACE(encoding);
        const Result r = RunCli(dir.Path(), Join(Join(kSpringWalkOptions, {"--encoding", encoding}), articles));
        EXPECT_EQ(r.exit, 0);
        EXPECT_EQ(r.out, "書き込み正常終了\n");
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(Output(), InEncoding(sjis, encoding));
    }
    // UTF-8 is the encoding when none is given; a few bytes pinned by hand.
    const Result r = RunCli(dir.Path(), Join(kSpringWalkOptions, articles));
    EXPECT_EQ(r.exit, 0);
    EXPECT_EQ(Output().substr(9, 21), "TITLE: \xe6\x98\xa5\xe3\x81\xae\xe6\x95\xa3\xe6\xad\xa9\r\n");
}

TEST_F(Cli, LfLineEndsInEachEncoding) {
    // Articles with CR LF, lone LF and lone CR line ends.
    const auto articles = Articles({{"lf.txt", Sjis(u"改行\r\n一行目\n続き\r\n")},
                                    {"cr.txt", Sjis(u"復帰\r一行目\r二行目")},
                                    {"lf-only.txt", Sjis(u"題名\n\n一行目\n二行目\n")},
                                    {"walk.txt", SjisLines(qbtest::kSpringWalk)}});
    const std::vector<std::string> options{"--name",     "out",   "--status", "publish",
                                           "--category", "title", "--start",  "2026/04/01 09:00"};
    for (const std::string encoding : {"shift_jis", "euc-jp", "utf-8"}) {
        SCOPED_TRACE(encoding);
        const auto base = Join(options, {"--encoding", encoding});
        ASSERT_EQ(RunCli(dir.Path(), Join(base, articles)).exit, 0);
        const std::string byDefault = Output();
        ASSERT_EQ(RunCli(dir.Path(), Join(Join(base, {"--line-ends", "crlf"}), articles)).exit, 0);
        EXPECT_EQ(Output(), byDefault);
        ASSERT_EQ(RunCli(dir.Path(), Join(Join(base, {"--line-ends", "lf"}), articles)).exit, 0);
        const std::string lf = Output();

        EXPECT_NE(byDefault.find(InEncoding(Sjis(u"<P>一行目\r\n続き\r\n"), encoding)), std::string::npos);
        EXPECT_NE(byDefault.find(InEncoding(Sjis(u"<P>一行目\r\n二行目\r\n"), encoding)), std::string::npos);
        EXPECT_EQ(lf, CrLfToLf(byDefault));
        EXPECT_EQ(lf.find('\r'), std::string::npos);
        EXPECT_NE(lf.find(InEncoding(Sjis(u"TITLE: 題名\n"), encoding)), std::string::npos);
        EXPECT_NE(lf.find(InEncoding(Sjis(u"BODY:\n<P>\n一行目\n二行目\n\n</P>\n"), encoding)), std::string::npos);
        EXPECT_EQ(lf.substr(0, 8), "AUTHOR:\n");
    }
}

TEST_F(Cli, ArticleEncodingChoosesHowArticlesAreRead) {
    const std::string utf8 = "\xE7\x8C\xAB\r\n";  // 猫 in UTF-8
    const auto articles = Articles({{"utf8.txt", utf8}, {"sjis.txt", SjisLines({u"猫"})}});
    const struct {
        std::vector<std::string> option;
        std::string titles;  // of both articles, in Shift_JIS
    } cases[] = {
        {{}, Sjis(u"TITLE: 猫\r\n") + Sjis(u"TITLE: 猫\r\n")},
        {{"--article-encoding", "auto"}, Sjis(u"TITLE: 猫\r\n") + Sjis(u"TITLE: 猫\r\n")},
        {{"--article-encoding", "shift_jis"}, "TITLE: " + Sjis(qb::cp932::Decode(utf8)) + Sjis(u"TITLE: 猫\r\n")},
        {{"--article-encoding", "utf-8"}, Sjis(u"TITLE: 猫\r\nTITLE: ?L\r\n")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.option.empty() ? "no option" : c.option.back());
        const Result r = RunCli(
            dir.Path(),
            Join(
                Join({"--name", "out", "--status", "draft", "--category", "name", "--encoding", "shift_jis"}, c.option),
                articles));
        ASSERT_EQ(r.exit, 0) << r.err;
        EXPECT_EQ(LinesStartingWith(Output(), "TITLE: "), c.titles);
    }
}

TEST_F(Cli, BlogFolderOfTwoSubFolders) {
    WriteBytes(dir.Path() / "blog" / "A" / "a.txt", SjisLines({u"一"}));
    WriteBytes(dir.Path() / "blog" / "A" / "b.txt", SjisLines({u"二"}));
    WriteBytes(dir.Path() / "blog" / "B" / "c.txt", SjisLines({u"三"}));
    WriteBytes(dir.Path() / "blog" / "x.txt", SjisLines({u"外"}));
    const Result r = RunCli(dir.Path(), {"--name", "out", "--status", "draft", "--category", "folder", "--encoding",
                                         "shift_jis", "--blog", "blog"});
    EXPECT_EQ(r.exit, 0);
    EXPECT_EQ(LinesStartingWith(Output(), "TITLE: "), Sjis(u"TITLE: 一\r\nTITLE: 二\r\nTITLE: 三\r\n"));
    EXPECT_EQ(LinesStartingWith(Output(), "PRIMARY CATEGORY: "),
              "PRIMARY CATEGORY: A\r\nPRIMARY CATEGORY: A\r\nPRIMARY CATEGORY: B\r\n");
}

#ifndef _WIN32  // names on Windows are UTF-16
// Names that are not UTF-8, as Shift_JIS names unpacked from a Windows archive are: the
// files are found and read, and the import file gets the name exactly as given.
TEST_F(Cli, NamesThatAreNotUtf8) {
    const std::string sjisFolder = "\x93\xfa\x8b\x4c";  // 日記 in Shift_JIS
    const std::string sjisFile = "\x82\xa0.txt";        // あ.txt in Shift_JIS
    WriteBytes(dir.Path() / "blog" / sjisFolder / sjisFile, SjisLines({u"一"}));
    WriteBytes(dir.Path() / "one" / sjisFile, SjisLines({u"二"}));
    const struct {
        const char* name;
        std::vector<std::string> source;
        std::string title;
    } cases[] = {
        {"article", {"one/" + sjisFile}, Sjis(u"TITLE: 二\r\n")},
        {"blog folder", {"--blog", "blog"}, Sjis(u"TITLE: 一\r\n")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = "\x8f\x6f" + std::string(c.name);  // 出 in Shift_JIS
        const Result r = RunCli(
            dir.Path(),
            Join({"--name", name, "--status", "draft", "--category", "folder", "--encoding", "shift_jis"}, c.source));
        EXPECT_EQ(r.exit, 0) << r.err;
        EXPECT_NE(Output(name + ".txt").find(c.title), std::string::npos);
    }
}
#endif

// Japanese names of folders, files and the import file, and a Japanese category, reach
// the export as typed (on Windows whatever the code page of the command line).
TEST_F(Cli, JapaneseNamesAndValues) {
    WriteBytes(dir.Path() / PathOf("ブログ/旅行/一日目.txt"), SjisLines({u"京都"}));
    WriteBytes(dir.Path() / PathOf("記事/二日目.txt"), SjisLines({u"奈良"}));
    std::filesystem::create_directories(dir.Path() / PathOf("書き出し"));
    const struct {
        const char* name;
        std::vector<std::string> args;
        std::string expected;
    } cases[] = {
        {"blog folder", {"--category", "folder", "--blog", "ブログ"}, Sjis(u"TITLE: 京都\r\n")},
        {"blog folder", {"--category", "folder", "--blog", "ブログ"}, Sjis(u"PRIMARY CATEGORY: 旅行\r\n")},
        {"article",
         {"--category", "name", "--category-name", "日記", "記事/二日目.txt"},
         Sjis(u"PRIMARY CATEGORY: 日記\r\n")},
        {"file name", {"--category", "file", "記事/二日目.txt"}, Sjis(u"PRIMARY CATEGORY: 二日目\r\n")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Result r =
            RunCli(dir.Path(),
                   Join({"--name", "出力", "--output-dir", "書き出し", "--status", "draft", "--encoding", "shift_jis"},
                        c.args));
        EXPECT_EQ(r.exit, 0) << r.err;
        EXPECT_EQ(r.out, "書き込み正常終了\n");
        EXPECT_NE(Output("書き出し/出力.txt").find(c.expected), std::string::npos);
    }
}

TEST_F(Cli, ExitCodesAndMessages) {
    const auto article = Articles({{"a.txt", SjisLines({u"題"})}});
    const struct {
        const char* name;
        std::vector<std::string> args;
        int exit;
        std::string err;  // exact; for a usage error, the line before the usage text
    } cases[] = {
        {"no name",
         {"--status", "publish", "--category", "title", article[0]},
         1,
         "出力用のファイル名を指定してください！\n"},
        {"blank name",
         {"--name", "  ", "--status", "publish", "--category", "title", article[0]},
         1,
         "出力用のファイル名を指定してください！\n"},
        {"no status", {"--name", "out", "--category", "title", article[0]}, 1, "公開の種類を指定してください！\n"},
        {"no category", {"--name", "out", "--status", "draft", article[0]}, 1, "カテゴリを指定してください！\n"},
        {"no day step",
         {"--name", "out", "--status", "future", "--category", "title", article[0]},
         1,
         "日付の差分を選んでください！\n"},
        {"missing article",
         {"--name", "out", "--status", "draft", "--category", "title", article[0], "gone.txt"},
         2,
         "書き込み異常終了です。53\n"},
        {"invalid date",
         {"--name", "out", "--status", "future", "--day-step", "0", "--category", "title", "--start",
          "2026/02/30 10:00", article[0]},
         2,
         "書き込み異常終了です。13\n"},
        {"missing output folder",
         {"--name", "out", "--status", "draft", "--category", "title", "--output-dir", "nowhere", article[0]},
         2,
         "書き込み異常終了です。76\n"},
        {"IBM extension in EUC-JP",
         {"--name", "out", "--status", "draft", "--category", "title", "--encoding", "euc-jp", "articles/ibm.txt"},
         2,
         "書き込み異常終了です。6\n記事「ibm.txt」のタイトルの「ⅰ」(U+2170) は EUC-JP にない文字です。\n"},
        {"empty blog folder in UTF-8",
         {"--name", "out", "--status", "draft", "--category", "title", "--blog", "articles/empty"},
         2,
         "UTF-8 への変換に失敗しました。\n"},
        {"missing blog folder",
         {"--name", "out", "--status", "draft", "--category", "title", "--blog", "nowhere"},
         2,
         "書き込み異常終了です。76\n"},
        {"name outside the output folder",
         {"--name", "../x", "--output-dir", "articles", "--status", "draft", "--category", "title", article[0]},
         2,
         "書き込み異常終了です。52\n"},
        {"unknown option", {"--name", "out", "--colour", "red", article[0]}, 64, "unknown option: --colour"},
        {"bad status", {"--name", "out", "--status", "later", article[0]}, 64, "invalid value for --status: 'later'"},
        {"start without time",
         {"--name", "out", "--start", "2026/04/01", article[0]},
         64,
         "--start needs \"YYYY/MM/DD hh:mm\": '2026/04/01'"},
        {"no articles", {"--name", "out"}, 64, "no articles given (ARTICLE... or --blog FOLDER)"},
        {"articles and blog",
         {"--name", "out", "--blog", "articles", article[0]},
         64,
         "give either articles or --blog, not both"},
        {"value missing", {"--name"}, 64, "--name needs a value"},
        {"size junk",
         {"--name", "out", "--split-size", "2MB", article[0]},
         64,
         "--split-size needs a number of bytes over 0, or one with K, M or G: '2MB'"},
    };
    WriteBytes(dir.Path() / "articles" / "ibm.txt", "\xfa\x40\r\n");
    std::filesystem::create_directories(dir.Path() / "articles" / "empty");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Result r = RunCli(dir.Path(), c.args);
        EXPECT_EQ(r.exit, c.exit);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.exit == 64 ? "quillbrook-export: " + c.err + "\n\n" + qb::cli::UsageText() : c.err);
        if (c.exit != 2) {
            EXPECT_FALSE(std::filesystem::exists(dir.Path() / "out.txt"));
        }
        std::filesystem::remove(dir.Path() / "out.txt");
    }
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "x.txt"));
}

// The run that read its own output until a file-size limit stopped it: the import file
// does not exist yet and is listed after a large article.
TEST_F(Cli, AListedImportFileThatDoesNotExistYetIsRefused) {
    const auto big = Articles({{"big.txt", SjisLines({u"題"}) + std::string(std::size_t{4} << 20, 'x') + "\r\n"}});
    std::filesystem::create_directories(dir.Path() / "D");
    const Result r = RunCli(dir.Path(), {"--name", "self", "--output-dir", "D", "--status", "publish", "--category",
                                         "title", "--encoding", "shift_jis", big[0], "D/self.txt"});
    EXPECT_EQ(r.exit, 2);
    EXPECT_EQ(r.err, "書き込み異常終了です。75\n");
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path() / "D"));
}

#ifndef _WIN32  // POSIX signals; the Windows console's events are checked by hand
// The largest work file in folder, 0 when there is none.
std::uintmax_t WorkFileSize(const std::filesystem::path& folder) {
    std::uintmax_t size = 0;
    for (const std::string& path : qbtest::WorkFiles(folder)) {
        std::error_code ec;
        const std::uintmax_t s = std::filesystem::file_size(path, ec);
        size = ec ? size : std::max(size, s);
    }
    return size;
}

// A signal during a large export: the work file goes, the previous import file stays,
// and the exporter ends by that signal (a shell shows 128 + its number). The export
// waits on a pipe as its last article, so that the signal comes while it runs.
TEST_F(Cli, ASignalDuringAnExportLeavesNoWorkFile) {
    const std::string body(std::size_t{16} << 20, 'x');
    const auto articles = Articles({{"big.txt", SjisLines({u"題"}) + body + "\r\n"}});
    const auto fifo = dir.Path() / "articles" / "pipe.txt";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string previous = "previous import file\r\n";
    const struct {
        int number;
        int shellStatus;
    } signals[] = {{SIGTERM, 143}, {SIGINT, 130}, {SIGHUP, 129}};
    for (const auto& sent : signals) {
        SCOPED_TRACE(sent.number);
        WriteBytes(dir.Path() / "out.txt", previous);
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            // As from an interactive shell: the three signals at their default action.
            for (const int s : {SIGTERM, SIGINT, SIGHUP}) {
                ::signal(s, SIG_DFL);
            }
            sigset_t none;
            sigemptyset(&none);
            ::sigprocmask(SIG_SETMASK, &none, nullptr);
            const int devNull = ::open("/dev/null", O_WRONLY);
            ::dup2(devNull, 1);
            ::dup2(devNull, 2);
            if (::chdir(dir.Path().c_str()) != 0) {
                ::_exit(120);
            }
            ::execl(QB_EXPORT_BINARY, QB_EXPORT_BINARY, "--name", "out", "--status", "publish", "--category", "title",
                    "--encoding", "utf-8", articles[0].c_str(), "articles/pipe.txt", static_cast<char*>(nullptr));
            ::_exit(121);
        }
        // Wait until most of the large article is in the work file.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (WorkFileSize(dir.Path()) < body.size() / 2 && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        EXPECT_GE(WorkFileSize(dir.Path()), body.size() / 2);
        ASSERT_EQ(::kill(pid, sent.number), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(status)) << "status " << status;
        EXPECT_EQ(128 + WTERMSIG(status), sent.shellStatus);
        EXPECT_EQ(qbtest::WorkFiles(dir.Path()), std::vector<std::string>{});
        EXPECT_EQ(ReadBytes(dir.Path() / "out.txt"), previous);
        EXPECT_FALSE(std::filesystem::exists(dir.Path() / "out.txt.partial"));
    }
}
#endif

#ifndef _WIN32  // devices and pipes as POSIX has them
// Articles that are no file: each ends the run with its number at once, the previous
// import file stays and no work file is left. A pipe is read once as it comes; read
// again for the body, it would wait for a writer that has gone.
TEST_F(Cli, ArticlesThatAreNoFileAreRefused) {
    const auto fifo = dir.Path() / "articles" / "pipe.txt";
    std::filesystem::create_directories(fifo.parent_path());
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const struct {
        const char* article;
        const char* firstLine;
        bool writer;  // something writes an article into the pipe
        int exit;
        std::string err;
    } cases[] = {
        {"articles", "title", false, 2, "書き込み異常終了です。75\n"},
        {"/dev/zero", "title", false, 2, "書き込み異常終了です。75\n"},
        {"/dev/urandom", "title-and-body", false, 2, "書き込み異常終了です。75\n"},
        {"articles/pipe.txt", "title-and-body", true, 2, "書き込み異常終了です。57\n"},
        {"articles/pipe.txt", "title", true, 0, "書き込み正常終了\n"},
    };
    const std::string previous = "previous import file\r\n";
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.article) + " " + c.firstLine);
        WriteBytes(dir.Path() / "out.txt", previous);
        std::thread writer;
        if (c.writer) {
            writer = std::thread([&fifo] {
                // Waits for the exporter to open the pipe, at most ten seconds.
                int fd = -1;
                for (int i = 0; i < 1000 && fd < 0; ++i) {
                    fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                }
                const std::string article = Sjis(u"題\r\n本文\r\n");
                EXPECT_EQ(::write(fd, article.data(), article.size()), static_cast<ssize_t>(article.size()));
                ::close(fd);
            });
        }
        const Result r = RunCli(dir.Path(), {"--name", "out", "--status", "publish", "--category", "title",
                                             "--first-line", c.firstLine, c.article});
        if (writer.joinable()) {
            writer.join();
        }
        EXPECT_EQ(c.exit == 0 ? r.out : r.err, c.err);
        EXPECT_EQ(r.exit, c.exit);
        EXPECT_EQ(ReadBytes(dir.Path() / "out.txt") == previous, c.exit != 0);
        EXPECT_EQ(qbtest::WorkFiles(dir.Path()), std::vector<std::string>{});
    }
}
#endif

TEST_F(Cli, OptionsReachTheirControls) {
    const auto articles = Articles({{"memo.txt", SjisLines({u"題", u"本文①"})}, {"note.txt", SjisLines({u"二"})}});
    const Result r = RunCli(
        dir.Path(),
        {"--name",      " 出力 ",       "--output-dir",   "articles",  "--status",         "future",     "--category",
         "file",        "--first-line", "title-and-body", "--start",   "2026/4/01 09:00",  "--day-step", "2",
         "--time-step", "30m",          "--encoding",     "shift_jis", "--platform-chars", "reference",  articles[0],
         articles[1]});
    ASSERT_EQ(r.exit, 0) << r.err;
    const std::string out = ReadBytes(dir.Path() / PathOf("articles/ 出力 .txt"));
    EXPECT_NE(out.find("DATE:  4/01/2026 09:00:00\r\nSTATUS:   Future\r\n"), std::string::npos);
    EXPECT_NE(out.find("DATE:  04/03/2026 09:30:00\r\n"), std::string::npos);
    EXPECT_NE(out.find("PRIMARY CATEGORY: memo\r\n-----\r\nBODY:\r\n" + Sjis(u"<P>題\r\n本文&#9312;\r\n") + "\r\n</P>"),
              std::string::npos);
    EXPECT_NE(out.find("PRIMARY CATEGORY: note\r\n"), std::string::npos);
}

// What an importer would lose goes to standard error; standard output keeps its one line.
TEST_F(Cli, ALossReportGoesToStandardError) {
    const auto articles = Articles({{"a.txt", SjisLines({u"同じ", u"一"})}, {"b.txt", SjisLines({u"同じ", u"二"})}});
    const Result r =
        RunCli(dir.Path(), {"--name", "out", "--status", "draft", "--category", "title", articles[0], articles[1]});
    EXPECT_EQ(r.exit, 0);
    EXPECT_EQ(r.out, "書き込み正常終了\n");
    EXPECT_EQ(r.err, "前の記事とタイトルも日付も同じ記事 (WordPress は取り込みません): 1 件 (b.txt)\n");
}

TEST_F(Cli, HelpAndVersion) {
    const Result help = RunCli(dir.Path(), {"--help"});
    EXPECT_EQ(help.exit, 0);
    EXPECT_NE(help.out.find("--line-ends crlf|lf"), std::string::npos);
    EXPECT_NE(help.out.find("--article-encoding auto|shift_jis|utf-8"), std::string::npos);
    EXPECT_NE(help.out.find("Movable Type on a Unix server reads LF line ends"), std::string::npos);
    const Result version = RunCli(dir.Path(), {"--version"});
    EXPECT_EQ(version.exit, 0);
    EXPECT_EQ(version.out, "Quillbrook " QB_VERSION "\n");  // the project's version
}

// Counts and sizes as split(1) reads them; 0, signs, junk and overflow are refused.
TEST(CliSplit, CountsAndSizesAsSplitReadsThem) {
    const struct {
        const char* entries;
        const char* size;
        qb::SplitLimits limits;  // {} for refused
    } cases[] = {
        {nullptr, nullptr, {0, 0}},
        {"4999", "99000000", {4999, 99000000}},
        {nullptr, "2K", {0, 2048}},
        {"1", "20M", {1, 20971520}},
        {nullptr, "17179869183G", {0, 17179869183ULL << 30}},
        {"0", nullptr, {}},
        {"+5", nullptr, {}},
        {"2K", nullptr, {}},
        {nullptr, "0K", {}},
        {nullptr, "M", {}},
        {nullptr, "2k", {}},
        {nullptr, "17179869184G", {}},
        {"18446744073709551616", nullptr, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.entries != nullptr ? c.entries : "-") + " " + (c.size != nullptr ? c.size : "-"));
        qb::cli::Arguments args;
        if (c.entries != nullptr) {
            args.splitEntries = c.entries;
        }
        if (c.size != nullptr) {
            args.splitSize = c.size;
        }
        if (c.limits == qb::SplitLimits{} && (c.entries != nullptr || c.size != nullptr)) {
            EXPECT_THROW((void)qb::cli::SplitOf(args), qb::cli::UsageError);
        } else {
            EXPECT_EQ(qb::cli::SplitOf(args), c.limits);
        }
    }
}

TEST(CliStart, CutIntoFivePartsAsTyped) {
    EXPECT_EQ(qb::cli::SplitStart("2026/4/01 09:00"),
              (std::vector<std::u16string>{u"2026", u"4", u"01", u"09", u"00"}));
    EXPECT_EQ(qb::cli::SplitStart("２０２６/04/01 9:5"),
              (std::vector<std::u16string>{u"２０２６", u"04", u"01", u"9", u"5"}));
    for (const char* refused : {"2026/04/01", "2026/04/01 09:00:00", "2026//01 09:00", "2026/04/01 09:00 "}) {
        EXPECT_THROW((void)qb::cli::SplitStart(refused), qb::cli::UsageError) << refused;
    }
}

}  // namespace
