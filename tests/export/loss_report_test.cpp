#include "export/loss_report.h"

#include <gtest/gtest.h>

#include "common/unicode.h"

namespace {

// Each kind of loss on a line of its own, with its count and the first few articles.
TEST(LossReport, SaysWhatWasLostHowOftenAndWhere) {
    qb::LossReport report;
    EXPECT_EQ(report.Text(), u"");
    for (const char16_t* name : {u"a.txt", u"b.txt", u"c.txt", u"d.txt", u"e.txt"}) {
        report.Add(name, {2, false, 0});
        report.Add(u"clean.txt", {});
    }
    report.Add(u"f.txt", {0, true, 3});
    report.AddRepeat(u"g.txt");
    EXPECT_EQ(qb::Utf16ToUtf8(report.Text()),
              "「?」で書いた文字: 10 文字 (a.txt、b.txt、c.txt ほか 2 記事)\n"
              "長すぎて切り詰めたタイトル: 1 件 (f.txt)\n"
              "長すぎて折り返せなかったタグ: 3 件 (f.txt)\n"
              "前の記事とタイトルも日付も同じ記事 (WordPress は取り込みません): 1 件 (g.txt)");
}

}  // namespace
