#include "export/module1.h"

#include <gtest/gtest.h>

#include "export/window_model.h"
#include "test_support.h"

namespace {

TEST(Module1, RecordLabelsAreTheFixedTable) {
    qb::Module1 module;
    qb::FillRecordLabels(module);
    const std::array<std::u16string, 16> expected{
        u"",      u"AUTHOR:", u"TITLE: ", u"DATE:  ", u"STATUS:   ", u"ALLOW COMMENTS: 0", u"CONVERT BREAKS: 0",
        u"ALLOW PINGS: 0", u"PRIMARY CATEGORY: ", u"-----", u"BODY:", u"<BR>", u"</P>", u"<BR>", u"-----",
        u"--------"};
    EXPECT_EQ(module.RecordLabels, expected);
    const std::array<std::size_t, 16> lengths{0, 7, 7, 7, 10, 17, 17, 14, 18, 5, 5, 4, 4, 4, 5, 8};
    for (std::size_t i = 0; i < 16; ++i) {
        EXPECT_EQ(module.RecordLabels[i].size(), lengths[i]) << i;
    }
}

TEST(Module1, InitialStateAtTheStartOfTheProgram) {
    qb::Module1 module;
    qb::WindowModel window;
    qbtest::FakeClock clock;
    clock.now = qb::DateTime{2024, 3, 5, 8, 7, 45};
    qb::InitialState(module, window, clock);
    EXPECT_EQ(window.Frame2Caption, u"無効");
    EXPECT_EQ(module.StartDate, clock.now);
    EXPECT_EQ(module.StartDateText, u"2024/03/05 08:07:45");
    EXPECT_EQ(module.WorkDateText, module.StartDateText);
    EXPECT_EQ(module.WorkDate, clock.now);
    EXPECT_EQ((std::vector<std::u16string>{window.Text1, window.Text2, window.Text3, window.Text4, window.Text5}),
              (std::vector<std::u16string>{u"2024", u"03", u"05", u"08", u"07"}));
    EXPECT_EQ(module.RecordLabels[3], u"DATE:  ");
    EXPECT_EQ(window.Combo1Items,
              (std::vector<std::u16string>{u"変更なし", u"ランダム", u"３０分", u"１時間", u"２時間", u"３時間",
                                           u"４時間", u"５時間", u"６時間", u"７時間", u"８時間", u"９時間",
                                           u"１０時間", u"１１時間", u"１２時間"}));
    EXPECT_EQ(window.Combo1ListIndex, 0);
}

TEST(Module1, InitialStateKeepsAStartDateAlreadySet) {
    qb::Module1 module;
    module.StartDate = qb::DateTime{2020, 12, 31, 23, 0, 0};
    module.StartDateText = u"2020/12/31 23:00:00";
    module.WorkDateText = u"2021/01/02 23:00:00";
    qb::WindowModel window;
    qbtest::FakeClock clock;
    qb::InitialState(module, window, clock);
    EXPECT_EQ(module.StartDateText, u"2020/12/31 23:00:00");
    EXPECT_EQ(window.Text1 + window.Text2 + window.Text3 + window.Text4 + window.Text5, u"202101022300");
}

}  // namespace
