#include "export/reencode.h"

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#endif

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/run_error.h"
#include "encoding/cp932.h"
#include "encoding/kanji_convert.h"
#include "encoding/utf8_encode.h"
#include "reencode_reference.h"
#include "test_bytes.h"

namespace qbtest {

// Found by GoogleTest's printing next to Outcome.
std::ostream& operator<<(std::ostream& out, const Outcome& o) {
    if (o.error) {
        out << "error " << o.error << ", ";
    }
    if (o.utf8Failed) {
        out << "UTF-8 failure, ";
    }
    return out << "file [" << qb::test::Hex(o.file) << "]";
}

}  // namespace qbtest

namespace {

namespace fs = std::filesystem;
using qb::LineEnds;
using qb::OutputEncoding;
using qb::ReencodeResult;
using qb::test::Bytes;
using qb::test::Hex;
using qbtest::Outcome;
using qbtest::Reference;

constexpr OutputEncoding kSjis = OutputEncoding::ShiftJis;
constexpr OutputEncoding kEuc = OutputEncoding::EucJp;
constexpr OutputEncoding kUtf8 = OutputEncoding::Utf8;
constexpr OutputEncoding kNone = OutputEncoding::NotChosen;

class Reencode : public ::testing::Test {
protected:
    void WriteFirstPass(const std::string& content) const { qbtest::WriteBytes(path_, content); }
    [[nodiscard]] std::string FileBytes() const { return qbtest::ReadBytes(path_); }
    // Everything in the folder but the import file: left-over new files.
    [[nodiscard]] std::vector<std::string> Strays() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_.Path())) {
            if (entry.path() != path_) {
                names.push_back(entry.path().filename().string());
            }
        }
        return names;
    }

    Outcome Run(const std::string& content, OutputEncoding encoding, LineEnds lineEnds = LineEnds::CrLf,
                std::size_t chunk = std::size_t{64} * 1024) {
        WriteFirstPass(content);
        Outcome o;
        o.error = qbtest::RunErrorNumber([&] {
            o.utf8Failed = qb::ReencodeOutputFile(path_, encoding, lineEnds, chunk) == ReencodeResult::Utf8Failed;
        });
        o.file = FileBytes();
        EXPECT_EQ(Strays(), std::vector<std::string>{}) << "left behind after " << Hex(content);
        return o;
    }

    qbtest::TempDir dir_;
    fs::path path_ = dir_.Path() / "import.txt";
};

Outcome Written(const std::string& file) { return {0, false, file}; }

TEST_F(Reencode, WritesTheChosenEncoding) {
    const std::string kanaLine = Bytes({0x41, 0x82, 0xA0, 0xB1});
    const struct {
        std::string content;
        OutputEncoding encoding;
        LineEnds ends;
        std::string file;
    } cases[] = {
        // Shift-JIS: not read back, not touched.
        {kanaLine + "\rB\nC", kSjis, LineEnds::CrLf, kanaLine + "\rB\nC"},
        {kanaLine + "\r\n", kEuc, LineEnds::CrLf, Bytes({0x41, 0xA4, 0xA2, 0x8E, 0xB1, 0x0D, 0x0A})},
        {kanaLine + "\r\n", kUtf8, LineEnds::CrLf, Bytes({0x41, 0xE3, 0x81, 0x82, 0xEF, 0xBD, 0xB1, 0x0D, 0x0A})},
        // The last line gets CR LF; a lone CR becomes CR LF; a lone LF stays.
        {"A\r\nB", kEuc, LineEnds::CrLf, "A\r\nB\r\n"},
        {"A\r\nB", kUtf8, LineEnds::CrLf, "A\r\nB\r\n"},
        {"A\rB\r", kEuc, LineEnds::CrLf, "A\r\nB\r\n"},
        {"A\rB\r", kUtf8, LineEnds::CrLf, "A\r\nB\r\n"},
        {"A\nB\r\n\n", kEuc, LineEnds::CrLf, "A\nB\r\n\n\r\n"},
        {"A\nB\r\n\n", kUtf8, LineEnds::CrLf, "A\nB\r\n\n\r\n"},
        {"\r\n", kUtf8, LineEnds::CrLf, "\r\n"},
        // Dropped escapes make the EUC-JP shorter; nothing of the first pass is left.
        {"AB\x1B(J\x1B(J\x1B(J\x1B(J\x1B(J\r\n", kEuc, LineEnds::CrLf, "AB\r\n"},
        // A zero byte is kept, with what follows it.
        {std::string("A\0B\r\n", 5), kEuc, LineEnds::CrLf, std::string("A\0B\r\n", 5)},
        {std::string("A\0B\r\n", 5), kUtf8, LineEnds::CrLf, std::string("A\0B\r\n", 5)},
        // Windows' own single byte 0x80 reads back as U+0080.
        {"\x80Z", kUtf8, LineEnds::CrLf, Bytes({0xC2, 0x80, 0x5A, 0x0D, 0x0A})},
        {"\x80Z", kEuc, LineEnds::CrLf, Bytes({0x9F, 0xBB, 0x0D, 0x0A})},
        // LF line ends, last of all: every CR LF pair of the result becomes LF.
        {"a\r\nb\rc\n\r\r\n", kSjis, LineEnds::Lf, "a\nb\rc\n\r\n"},
        {"\x82\xA0\r\nb\rc\n", kEuc, LineEnds::Lf, Bytes({0xA4, 0xA2, 0x0A, 0x62, 0x0A, 0x63, 0x0A, 0x0A})},
        {"\x82\xA0\r\nb\rc\n", kUtf8, LineEnds::Lf, Bytes({0xE3, 0x81, 0x82, 0x0A, 0x62, 0x0A, 0x63, 0x0A, 0x0A})},
        {"x\r", kSjis, LineEnds::Lf, "x\r"},
        // No encoding chosen: the text read back is dropped.
        {"A\rB", kNone, LineEnds::CrLf, "A\rB"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Run(c.content, c.encoding, c.ends), Written(c.file)) << "first pass " << Hex(c.content);
    }
}

TEST_F(Reencode, FailuresLeaveTheFirstPassFile) {
    const std::string ibm = "TITLE: A\r\n" + Bytes({0xFA, 0x40}) + "\r\n";
    const struct {
        std::string content;
        OutputEncoding encoding;
        LineEnds ends;
        Outcome outcome;
    } cases[] = {
        {"", kUtf8, LineEnds::CrLf, {0, true, ""}},
        {"", kUtf8, LineEnds::Lf, {0, true, ""}},
        {"", kEuc, LineEnds::CrLf, {9, false, ""}},
        // IBM extensions cannot go to EUC-JP, also when written in the NEC-selected row.
        {ibm, kEuc, LineEnds::CrLf, {6, false, ibm}},
        {ibm, kEuc, LineEnds::Lf, {6, false, ibm}},
        {"A" + Bytes({0xED, 0x40}), kEuc, LineEnds::CrLf, {6, false, "A" + Bytes({0xED, 0x40})}},
        // A lone 0x80 at a line's end takes the CR as its second byte.
        {"A\x80\r\nB", kEuc, LineEnds::CrLf, {6, false, "A\x80\r\nB"}},
        // The same IBM character is written in the other encodings.
        {ibm, kSjis, LineEnds::CrLf, Written(ibm)},
        {ibm, kUtf8, LineEnds::CrLf, Written("TITLE: A\r\n" + Bytes({0xE2, 0x85, 0xB0, 0x0D, 0x0A}))},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Run(c.content, c.encoding, c.ends), c.outcome) << "first pass " << Hex(c.content);
    }
}

TEST_F(Reencode, MissingFileIsAFileError) {
    for (const auto encoding : {kEuc, kUtf8, kNone}) {
        EXPECT_EQ(qbtest::RunErrorNumber([&] { qb::ReencodeOutputFile(dir_.Path() / "missing.txt", encoding); }),
                  qb::err::kFileNotFound);
    }
    EXPECT_EQ(qb::ReencodeOutputFile(dir_.Path() / "missing.txt", kSjis), ReencodeResult::Done);  // never opened
}

// Reading in chunks of any size gives exactly what converting the whole text gives,
// with line ends, escapes, lead bytes and failures falling on every chunk edge.
TEST_F(Reencode, ChunkedEqualsWhole) {
    const std::string mixed = "TITLE: " + Bytes({0x82, 0xA0, 0x82, 0xA2}) + "\r\nA\rB\nC\r\n\r\n" +
                              Bytes({0xB1, 0xB2, 0x80}) + "Z" + std::string(1, '\0') + "\x1B(I1\x1B$B" + "\r\r\n" +
                              Bytes({0x88, 0x9F, 0x81}) + "\r" + Bytes({0x87, 0x40, 0xA0}) + "q\n" +
                              Bytes({0x88, 0x9F});
    const std::string failsLate = "ABC\r\nDEF\r\n" + Bytes({0x82, 0xA0, 0xFA, 0x40});
    for (const std::string& content : {mixed, failsLate}) {
        for (const auto encoding : {kEuc, kUtf8, kSjis}) {
            for (const auto ends : {LineEnds::CrLf, LineEnds::Lf}) {
                const Outcome expected = Reference(content, encoding, ends);
                for (std::size_t chunk = 1; chunk <= content.size() + 1; ++chunk) {
                    ASSERT_EQ(Run(content, encoding, ends, chunk), expected)
                        << Hex(content) << " chunk " << chunk << " EUC " << (encoding == OutputEncoding::EucJp)
                        << " LF " << (ends == LineEnds::Lf);
                }
            }
        }
    }
}

#ifndef _WIN32  // file modes and links of POSIX systems
TEST_F(Reencode, KeepsThePermissions) {
    WriteFirstPass("A\r\n");
    ASSERT_EQ(::chmod(path_.c_str(), 0640), 0);
    ASSERT_EQ(qb::ReencodeOutputFile(path_, kEuc), ReencodeResult::Done);
    struct stat st {};
    ASSERT_EQ(::stat(path_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777U, 0640U);
}

TEST_F(Reencode, WritesThroughALink) {
    WriteFirstPass("A\r\n" + Bytes({0x82, 0xA0}));
    const fs::path link = dir_.Path() / "link.txt";
    fs::create_symlink(path_.filename(), link);
    ASSERT_EQ(qb::ReencodeOutputFile(link, kEuc), ReencodeResult::Done);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Hex(FileBytes()), Hex("A\r\n" + Bytes({0xA4, 0xA2, 0x0D, 0x0A})));
    fs::remove(link);
    EXPECT_EQ(Strays(), std::vector<std::string>{});
}

#endif

// A name as long as the folder allows is rewritten like any other: the new file
// written beside it must not need a longer name.
TEST_F(Reencode, TheLongestNameIsRewritten) {
    path_ = dir_.Path() / (std::string(255 - 4, 'n') + ".txt");
    for (const OutputEncoding encoding : {kEuc, kUtf8}) {
        EXPECT_EQ(Run("A\r\n", encoding), Written("A\r\n"));
    }
}

#ifndef _WIN32  // the file size limit of POSIX systems
// A write that fails part-way (here at the file size limit, as on a full disk) leaves
// the whole first-pass file and no new file; a conversion failure further on in the
// file is still the one reported, as converting comes before writing.
TEST_F(Reencode, FailedWriteLeavesTheFirstPassFile) {
    std::string content;
    while (content.size() < std::size_t{600} * 1024) {
        content += "BODY: " + Bytes({0x82, 0xA0, 0x82, 0xA2, 0xB1}) + "\r\n";
    }
    const struct {
        std::string content;
        OutputEncoding encoding;
        int number;
    } cases[] = {
        {content, kUtf8, qb::err::kDiskFull},
        {content, kEuc, qb::err::kDiskFull},
        {content, kSjis, qb::err::kDiskFull},
        {content + Bytes({0xFA, 0x40}), kEuc, qb::err::kOverflow},
    };
    for (const auto& c : cases) {
        WriteFirstPass(c.content);
        rlimit old{};
        ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = old;
        limited.rlim_cur = rlim_t{300} * 1024;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
        const int number = qbtest::RunErrorNumber([&] { qb::ReencodeOutputFile(path_, c.encoding, LineEnds::Lf); });
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        EXPECT_EQ(number, c.number);
        EXPECT_TRUE(FileBytes() == c.content) << "first-pass file changed";
        EXPECT_EQ(Strays(), std::vector<std::string>{});
    }
}
#endif

}  // namespace
