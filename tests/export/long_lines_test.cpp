#include "export/long_lines.h"

#include <functional>

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

using qb::LineKind;

std::u16string Repeat(std::u16string_view text, std::size_t times) {
    std::u16string out;
    for (std::size_t i = 0; i < times; ++i) {
        out += text;
    }
    return out;
}

std::string Finally(const std::string& sjis, const qb::LineRules& rules) {
    return qbtest::AsWritten(sjis, rules.encoding, rules.lineEnds);
}

struct Written {
    std::string bytes;
    qb::LineLosses losses;
};

// One line of the given kind, fed in pieces of piece code units.
Written WriteLine(const qb::LineRules& rules, LineKind kind, std::u16string_view line, std::size_t piece) {
    qb::LineWriter writer(rules);
    writer.BeginRecord();
    writer.BeginLine(kind);
    Written w;
    for (std::size_t at = 0; at < line.size(); at += piece) {
        writer.Feed(line.substr(at, piece), w.bytes);
    }
    writer.EndLine(w.bytes);
    w.losses = writer.Losses();
    return w;
}

// Where the text before a break still has a character reference or a tag open.
bool OpenAt(std::string_view before) {
    const auto lt = before.rfind('<');
    const auto amp = before.rfind('&');
    return (lt != std::string_view::npos && before.find('>', lt) == std::string_view::npos) ||
           (amp != std::string_view::npos && before.find(';', amp) == std::string_view::npos);
}

TEST(LongLines, BodyLinesArriveInPiecesThatFitAndJoinToTheLine) {
    const std::u16string kana = Repeat(u"あいうえお漢字を書く。", 1500);
    const struct {
        const char* name;
        std::u16string line;
        std::uint64_t tagsWhole;  // tags longer than a line, without a blank to break at
    } rows[] = {
        {"kana and kanji", kana, 0},
        {"character references", Repeat(u"&#12354;テキスト&amp;", 1200), 0},
        {"the author's tags", Repeat(u"<a href=\"https://example.jp/?q=1\">リンク</a>です", 600), 0},
        {"ASCII without blanks", std::u16string(30000, u'x'), 0},
        {"a long tag with blanks", u"前<span" + Repeat(u" class=\"c\"", 2000) + u">後</span>", 0},
        {"a long tag with a long value", u"前<img alt=\"x\" src=\"" + std::u16string(9000, u'a') + u"\" title=\"y\">後",
         1},
        {"a short line", u"短い行です。", 0},
    };
    for (const auto& encoding : {qb::OutputEncoding::ShiftJis, qb::OutputEncoding::EucJp, qb::OutputEncoding::Utf8}) {
        for (const auto& lineEnds : {qb::LineEnds::CrLf, qb::LineEnds::Lf}) {
            for (const bool br : {false, true}) {
                const qb::LineRules rules{encoding, lineEnds};
                for (const auto& row : rows) {
                    SCOPED_TRACE(std::string(row.name) + " encoding " + std::to_string(static_cast<int>(encoding)) +
                                 (lineEnds == qb::LineEnds::Lf ? " LF" : " CR LF") + (br ? " <BR>" : ""));
                    const std::u16string line = u"<P>" + row.line + (br ? u"<BR>" : u"");
                    const Written w = WriteLine(rules, LineKind::Body, line, 4093);
                    EXPECT_EQ(w.losses.tagsWhole, row.tagsWhole);
                    // The pieces give the same bytes however the line arrives.
                    EXPECT_EQ(WriteLine(rules, LineKind::Body, line, 1).bytes, w.bytes);

                    const std::string written = Finally(w.bytes, rules);
                    const std::string eol = lineEnds == qb::LineEnds::Lf ? "\n" : "\r\n";
                    std::size_t lines = 0;
                    std::size_t longest = 0;
                    for (std::size_t at = 0; at < written.size(); ++lines) {
                        const std::size_t end = written.find('\n', at) + 1;
                        longest = std::max(longest, end - at);
                        at = end;
                    }
                    if (row.tagsWhole == 0) {
                        EXPECT_LE(longest, qb::kLineLimit);
                    }
                    // Taken out again, the breaks leave the line as it was.
                    std::string joined = qbtest::WithoutBreaks(w.bytes);
                    const std::size_t wbrBreaks = (w.bytes.size() - joined.size()) / 7;
                    for (auto at = joined.find("\r\n"); at + 2 < joined.size(); at = joined.find("\r\n", at)) {
                        EXPECT_EQ(joined[at - 1], ' ') << "a plain line end only after a blank in a tag";
                        EXPECT_TRUE(OpenAt(joined.substr(0, at))) << "a plain line end only inside a tag";
                        joined.erase(at, 2);
                    }
                    EXPECT_EQ(joined, qbtest::Sjis(line) + "\r\n");
                    if (row.line.size() < 100) {
                        EXPECT_EQ(lines, 1U);
                    }
                    if (row.name == std::string("kana and kanji") || row.name == std::string("ASCII without blanks")) {
                        EXPECT_EQ(lines, wbrBreaks + 1);
                    }
                    // No "<wbr" inside a character reference or a tag of the author's.
                    std::string before;
                    for (auto at = w.bytes.find("<wbr\r\n>"); at != std::string::npos;
                         at = w.bytes.find("<wbr\r\n>", at + 1)) {
                        before = qbtest::WithoutBreaks(w.bytes.substr(0, at));
                        EXPECT_FALSE(OpenAt(before)) << "break at " << at;
                    }
                    if (row.name == std::string("kana and kanji")) {
                        EXPECT_EQ(before.substr(before.size() - 2), qbtest::Sjis(u"。")) << "after a full stop";
                    }
                }
            }
        }
    }
}

TEST(LongLines, ALineThatFitsExactlyStaysWhole) {
    for (const auto& encoding : {qb::OutputEncoding::ShiftJis, qb::OutputEncoding::EucJp, qb::OutputEncoding::Utf8}) {
        for (const auto& lineEnds : {qb::LineEnds::CrLf, qb::LineEnds::Lf}) {
            SCOPED_TRACE(static_cast<int>(encoding) * 2 + static_cast<int>(lineEnds));
            const qb::LineRules rules{encoding, lineEnds};
            const std::size_t eol = lineEnds == qb::LineEnds::Lf ? 1 : 2;
            // ｱ: one byte in Shift_JIS, two in EUC-JP, three in UTF-8.
            const std::size_t width =
                encoding == qb::OutputEncoding::ShiftJis ? 1 : (encoding == qb::OutputEncoding::EucJp ? 2 : 3);
            const std::size_t room = qb::kLineLimit - eol - 3;
            const std::u16string fits =
                u"<P>" + std::u16string(room % width, u'x') + std::u16string(room / width, u'ｱ');
            EXPECT_EQ(Finally(WriteLine(rules, LineKind::Body, fits, 100).bytes, rules).size(), qb::kLineLimit);
            const std::string over = WriteLine(rules, LineKind::Body, fits + u"x", 100).bytes;
            EXPECT_NE(over.find("<wbr\r\n>"), std::string::npos);
        }
    }
}

TEST(LongLines, ATitleIsCutToFitAtACharacterBoundary) {
    const struct {
        qb::LineRules rules;
        LineKind kind;
        std::u16string title;
        std::size_t kept;  // characters of the title kept
    } rows[] = {
        {{qb::OutputEncoding::Utf8}, LineKind::Title, std::u16string(3000, u'題'), (qb::kLineLimit - 7 - 2) / 3},
        {{qb::OutputEncoding::ShiftJis, qb::LineEnds::Lf},
         LineKind::Title,
         std::u16string(5000, u'題'),
         (qb::kLineLimit - 7 - 1) / 2},
        {{qb::OutputEncoding::Utf8, qb::LineEnds::CrLf, qb::PlatformChars::Reference},
         LineKind::Title,
         std::u16string(2000, u'①'),
         (qb::kLineLimit - 7 - 2) / 7},
        {{qb::OutputEncoding::Utf8, qb::LineEnds::CrLf, qb::PlatformChars::Reference},
         LineKind::TitleValue,
         std::u16string(3000, u'①'),
         (qb::kLineLimit - 7 - 2) / 3},
        {{qb::OutputEncoding::Utf8}, LineKind::Title, std::u16string(2663, u'題'), 2663},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.kept);
        qb::LineWriter writer(row.rules);
        writer.BeginLine(row.kind);
        std::string bytes;
        writer.Feed(u"TITLE: ", bytes);
        writer.Feed(row.title, bytes);
        writer.EndLine(bytes);
        const std::u16string keptText = row.title.substr(0, row.kept);
        const bool reference = row.kind == LineKind::Title && row.rules.platformChars == qb::PlatformChars::Reference;
        EXPECT_EQ(bytes, "TITLE: " + qbtest::Sjis(reference ? Repeat(u"&#9312;", row.kept) : keptText) + "\r\n");
        EXPECT_EQ(writer.Losses().titleCut, row.kept < row.title.size());
        EXPECT_LE(Finally(bytes, row.rules).size(), qb::kLineLimit);
    }
}

}  // namespace
