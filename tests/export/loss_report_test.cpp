#include "export/loss_report.h"

#include <gtest/gtest.h>

#include "common/unicode.h"

namespace {

TEST(LossReport, SaysWhatWasLostHowOftenAndWhere) {
    using Add = void (*)(qb::LossReport&, const std::u16string&);
    const struct {
        const char* name;
        Add add;
        std::u16string line;  // for the articles a.txt (twice), then b.txt .. e.txt
    } rows[] = {
        {"question marks",
         [](qb::LossReport& r, const std::u16string& n) {
             r.Add(n, {2, false, 0});
         },
         u"「?」で書いた文字: 12 文字 (a.txt、a.txt、b.txt ほか 3 記事)"},
        {"titles cut",
         [](qb::LossReport& r, const std::u16string& n) {
             r.Add(n, {0, true, 0});
         },
         u"長すぎて切り詰めたタイトル: 6 件 (a.txt、a.txt、b.txt ほか 3 記事)"},
        {"tags whole",
         [](qb::LossReport& r, const std::u16string& n) {
             r.Add(n, {0, false, 1});
         },
         u"長すぎて折り返せなかったタグ: 6 件 (a.txt、a.txt、b.txt ほか 3 記事)"},
        {"repeats", [](qb::LossReport& r, const std::u16string& n) { r.AddRepeat(n); },
         u"前の記事とタイトルも日付も同じ記事 (WordPress は取り込みません): 6 件 (a.txt、a.txt、b.txt ほか 3 記事)"},
    };
    qb::LossReport all;
    std::u16string allLines;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        qb::LossReport report;
        for (const char16_t* name : {u"a.txt", u"a.txt", u"b.txt", u"c.txt", u"d.txt", u"e.txt"}) {
            row.add(report, name);
            row.add(all, name);
            report.Add(u"clean.txt", {});
        }
        EXPECT_EQ(qb::Utf16ToUtf8(report.Text()), qb::Utf16ToUtf8(row.line));
        allLines += (allLines.empty() ? u"" : u"\n") + row.line;
    }
    EXPECT_EQ(qb::Utf16ToUtf8(all.Text()), qb::Utf16ToUtf8(allLines));
    qb::LossReport nothing;
    nothing.Add(u"clean.txt", {});
    EXPECT_EQ(nothing.Text(), u"");
}

TEST(LossReport, SaysWhereEucJpHasNoCode) {
    const struct {
        qb::EucGap gap;
        std::u16string text;
    } rows[] = {
        {{U'髙', qb::LineKind::Body, 3}, u"記事「a.txt」の本文 3 行目の「髙」(U+9AD9) は EUC-JP にない文字です。"},
        {{U'ⅰ', qb::LineKind::Title, 0}, u"記事「a.txt」のタイトルの「ⅰ」(U+2170) は EUC-JP にない文字です。"},
        {{U'﨑', qb::LineKind::Plain, 0}, u"記事「a.txt」のカテゴリの「﨑」(U+FA11) は EUC-JP にない文字です。"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(qb::Utf16ToUtf8(qb::EucGapText(u"a.txt", row.gap)), qb::Utf16ToUtf8(row.text));
    }
}

}  // namespace
