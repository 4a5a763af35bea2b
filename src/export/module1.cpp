#include "export/module1.h"

#include "export/entry_dates.h"
#include "export/window_model.h"

namespace qb {

std::u16string Frame2CaptionFor(bool option1) { return option1 ? u"有効です" : u"指定しても無効です"; }

void FillRecordLabels(Module1& module) {
    module.RecordLabels = {
        u"",
        u"AUTHOR:",
        u"TITLE: ",
        u"DATE:  ",
        u"STATUS:   ",
        u"ALLOW COMMENTS: 0",
        u"CONVERT BREAKS: 0",
        u"ALLOW PINGS: 0",
        u"PRIMARY CATEGORY: ",
        u"-----",
        u"BODY:",
        u"<BR>",
        u"</P>",
        u"<BR>",
        u"-----",
        u"--------",
    };
}

void InitialState(Module1& module, WindowModel& window, Clock& clock) {
    window.Frame2Caption = u"無効";
    if (!module.StartDate) {
        ResetStartDateToNow(module, window, clock);
    }
    ShowStartDate(window, module.WorkDateText);
    FillRecordLabels(module);
    window.Combo1Items = {
        u"変更なし", u"ランダム", u"３０分",   u"１時間",   u"２時間",
        u"３時間",   u"４時間",   u"５時間",   u"６時間",   u"７時間",
        u"８時間",   u"９時間",   u"１０時間", u"１１時間", u"１２時間",
    };
    window.Combo1ListIndex = 0;
}

}  // namespace qb
