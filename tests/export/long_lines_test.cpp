#include "export/long_lines.h"

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

// One line of the given kind, fed in pieces of piece code units; its bytes and losses.
std::pair<std::string, qb::LineLosses> WriteLine(const qb::LineRules& rules, LineKind kind, std::u16string_view line,
                                                 std::size_t piece) {
    qb::LineWriter writer(rules);
    writer.BeginLine(kind);
    std::string bytes;
    for (std::size_t at = 0; at < line.size(); at += piece) {
        writer.Feed(line.substr(at, piece), bytes);
    }
    writer.EndLine(bytes);
    return {bytes, writer.Losses()};
}

// The longest line, line end included, as finally written.
std::size_t Longest(const std::string& sjis, const qb::LineRules& rules) {
    const std::string written = qbtest::AsWritten(sjis, rules.encoding, rules.lineEnds);
    std::size_t longest = 0;
    for (std::size_t at = 0; at < written.size();) {
        const std::size_t end = written.find('\n', at) + 1;
        longest = std::max(longest, end - at);
        at = end;
    }
    return longest;
}

// Whether the text before a break leaves a character reference or a tag open.
bool OpenAt(std::string_view before) {
    const auto lt = before.rfind('<');
    const auto amp = before.rfind('&');
    return (lt != std::string_view::npos && before.find('>', lt) == std::string_view::npos) ||
           (amp != std::string_view::npos && before.find(';', amp) == std::string_view::npos);
}

TEST(LongLines, BodyLinesArriveInPiecesThatFitAndJoinToTheLine) {
    const struct {
        const char* name;
        std::u16string line;
        std::uint64_t tagsWhole;  // tags longer than a line, without a blank to break at
    } rows[] = {
        {"kana and kanji", Repeat(u"あいうえお漢字を書く。", 1500), 0},
        {"character references", Repeat(u"&#12354;テキスト&amp;", 1200), 0},
        {"the author's tags", Repeat(u"<a href=\"https://example.jp/?q=1\">リンク</a>です", 600), 0},
        {"ASCII without blanks", std::u16string(30000, u'x'), 0},
        {"a long tag with blanks", u"前<span" + Repeat(u" class=\"c\"", 2000) + u">後</span>", 0},
        {"a long tag with a long value", u"前<img alt=\"x\" src=\"" + std::u16string(9000, u'a') + u"\" title=\"y\">後",
         1},
        {"a short line", u"短い行です。", 0},
    };
    for (const auto encoding : {qb::OutputEncoding::ShiftJis, qb::OutputEncoding::EucJp, qb::OutputEncoding::Utf8}) {
        for (const auto lineEnds : {qb::LineEnds::CrLf, qb::LineEnds::Lf}) {
            for (const bool br : {false, true}) {
                const qb::LineRules rules{encoding, lineEnds};
                for (const auto& row : rows) {
                    SCOPED_TRACE(std::string(row.name) + " encoding " + std::to_string(static_cast<int>(encoding)) +
                                 (lineEnds == qb::LineEnds::Lf ? " LF" : " CR LF") + (br ? " <BR>" : ""));
                    const std::u16string line = u"<P>" + row.line + (br ? u"<BR>" : u"");
                    const auto [bytes, losses] = WriteLine(rules, LineKind::Body, line, 4093);
                    EXPECT_EQ(losses.tagsWhole, row.tagsWhole);
                    EXPECT_EQ(WriteLine(rules, LineKind::Body, line, 1).first, bytes) << "however the line arrives";
                    if (row.tagsWhole == 0) {
                        EXPECT_LE(Longest(bytes, rules), qb::kLineLimit);
                    }
                    // Each "<wbr" stands outside references and tags; a plain line end only
                    // after a blank inside a tag. Taken out, the breaks leave the line.
                    std::string joined;
                    for (std::size_t at = 0, end = 0; at < bytes.size(); at = end) {
                        end = bytes.find("\r\n", at) + 2;
                        joined.append(bytes, at, end - at - 2);
                        if (end == bytes.size()) {
                            break;
                        }
                        if (joined.ends_with("<wbr") && bytes[end] == '>') {
                            joined.resize(joined.size() - 4);
                            EXPECT_FALSE(OpenAt(joined));
                            ++end;
                        } else {
                            EXPECT_TRUE(joined.ends_with(" ") && OpenAt(joined));
                        }
                    }
                    EXPECT_EQ(joined, qbtest::Sjis(line));
                    if (row.name == std::string("kana and kanji")) {
                        EXPECT_EQ(bytes.substr(bytes.find("<wbr") - 2, 2), qbtest::Sjis(u"。")) << "after a full stop";
                    }
                }
            }
        }
    }
}

TEST(LongLines, ALineThatFitsExactlyStaysWhole) {
    for (const auto encoding : {qb::OutputEncoding::ShiftJis, qb::OutputEncoding::EucJp, qb::OutputEncoding::Utf8}) {
        for (const auto lineEnds : {qb::LineEnds::CrLf, qb::LineEnds::Lf}) {
            SCOPED_TRACE(static_cast<int>(encoding) * 2 + static_cast<int>(lineEnds));
            const qb::LineRules rules{encoding, lineEnds};
            // ｱ: one byte in Shift_JIS, two in EUC-JP, three in UTF-8.
            const std::size_t width = 1 + static_cast<std::size_t>(encoding == qb::OutputEncoding::EucJp) +
                                      2 * static_cast<std::size_t>(encoding == qb::OutputEncoding::Utf8);
            const std::size_t room = qb::kLineLimit - (lineEnds == qb::LineEnds::Lf ? 1 : 2) - 3;
            const std::u16string fits =
                u"<P>" + std::u16string(room % width, u'x') + std::u16string(room / width, u'ｱ');
            const std::string bytes = WriteLine(rules, LineKind::Body, fits, 100).first;
            EXPECT_EQ(bytes, qbtest::Sjis(fits) + "\r\n");
            EXPECT_EQ(Longest(bytes, rules), qb::kLineLimit);
            EXPECT_NE(WriteLine(rules, LineKind::Body, fits + u"x", 100).first.find("<wbr\r\n>"), std::string::npos);
        }
    }
}

TEST(LongLines, ATitleIsCutToFitAtACharacterBoundary) {
    const qb::LineRules utf8{qb::OutputEncoding::Utf8};
    const qb::LineRules references{qb::OutputEncoding::Utf8, qb::LineEnds::CrLf, qb::PlatformChars::Reference};
    const struct {
        qb::LineRules rules;
        LineKind kind;
        std::u16string title;
        std::u16string kept;
        bool cut;
    } rows[] = {
        {utf8, LineKind::Title, std::u16string(2663, u'題'), std::u16string(2663, u'題'), false},  // 7 + 7989 + 2
        {utf8, LineKind::Title, std::u16string(2664, u'題'), std::u16string(2663, u'題'), true},
        {references, LineKind::Title, std::u16string(2000, u'①'), Repeat(u"&#9312;", 1141), true},
        {references, LineKind::TitleValue, std::u16string(3000, u'①'), std::u16string(2663, u'①'), true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.title.size());
        const auto [bytes, losses] = WriteLine(row.rules, row.kind, u"TITLE: " + row.title, 1000);
        EXPECT_EQ(bytes, qbtest::Sjis(u"TITLE: " + row.kept) + "\r\n");
        EXPECT_EQ(losses.titleCut, row.cut);
    }
}

}  // namespace
