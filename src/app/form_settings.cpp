#include "app/form_settings.h"

#include "export/choices.h"

namespace qb::app {

ExportSettings SettingsFromForm(const FormState& f) {
    ExportSettings s;
    s.publishStatus = ValueOfEntry(kPublishStatuses, f.Frame3, PublishStatus::NotChosen);
    s.dayStep = ValueOfEntry(kDaySteps, f.Frame4, DayStep::NotChosen);
    // Combo1 lists the time steps in the table's order.
    if (f.Combo1ListIndex >= 0 && static_cast<std::size_t>(f.Combo1ListIndex) < kTimeSteps.size()) {
        s.timeStep = kTimeSteps[static_cast<std::size_t>(f.Combo1ListIndex)].value;
    }
    if (f.Combo2ListIndex >= 0 && static_cast<std::size_t>(f.Combo2ListIndex) < kSplitChoices.size()) {
        s.split = kSplitChoices[static_cast<std::size_t>(f.Combo2ListIndex)].value;
    }
    s.categoryRule = ValueOfEntry(kCategoryRules, f.Frame6, CategoryRule::NotChosen);
    s.categoryName = f.Text8;
    s.titleMode = f.TitleMode == 1 ? TitleMode::TitleAndBody : TitleMode::TitleOnly;
    s.kaigyoMode = f.KaigyoMode == 1 ? KaigyoMode::Br : KaigyoMode::Keep;
    s.outputEncoding = ValueOfEntry(kOutputEncodings, f.Frame7, OutputEncoding::NotChosen);
    s.lineEnds = ValueOfEntry(kLineEnds, f.Frame9, LineEnds::CrLf);
    s.platformChars = ValueOfEntry(kPlatformChars, f.Check1, PlatformChars::Keep);
    s.startDate = DateFieldsOf(f);
    s.outputFolder = f.Dir2Path;
    s.fileName = f.Text7;
    // The window adds and removes a row of both lists at once.
    for (std::size_t i = 0; i < f.List2.size(); ++i) {
        s.articles.push_back({i < f.List1.size() ? f.List1[i] : std::u16string(), f.List2[i]});
    }
    return s;
}

DateFields DateFieldsOf(const FormState& f) { return {f.Text1, f.Text2, f.Text3, f.Text4, f.Text5}; }

void SetDateFields(FormState& f, const DateFields& fields) {
    f.Text1 = fields.year;
    f.Text2 = fields.month;
    f.Text3 = fields.day;
    f.Text4 = fields.hour;
    f.Text5 = fields.minute;
}

void SetArticleLists(FormState& f, const std::vector<ListedArticle>& articles) {
    f.List1.clear();
    f.List2.clear();
    for (const ListedArticle& article : articles) {
        f.List1.push_back(article.name);
        f.List2.push_back(article.path);
    }
}

void ApplyResult(FormState& f, const ExportResult& result) {
    SetDateFields(f, result.dateFields);
    if (result.listsCleared) {
        SetArticleLists(f, {});
    }
    if (result.fileNameCleared) {
        f.Text7.clear();
    }
}

std::u16string Frame2CaptionFor(bool option1) { return option1 ? u"有効です" : u"指定しても無効です"; }

DateFields StartUpDateFields(StartDates& dates, Clock& clock) {
    DateFields fields;
    if (!dates.StartDate) {
        ResetStartDateToNow(dates, fields, clock);
    }
    FillDateFields(fields, dates.WorkDateText);
    return fields;
}

}  // namespace qb::app
