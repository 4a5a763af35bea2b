#include "app/form_settings.h"

#include <initializer_list>
#include <utility>

namespace qb::app {

namespace {

// The value of the first selected button of a group, in the order given; none: NotChosen.
template <typename T>
T FirstSelected(std::initializer_list<std::pair<bool, T>> buttons) {
    for (const auto& [selected, value] : buttons) {
        if (selected) {
            return value;
        }
    }
    return T::NotChosen;
}

// Combo1's entries: 変更なし, ランダム, ３０分, then １時間 to １２時間. Any other index,
// -1 among them, leaves the time unchanged.
TimeStep TimeStepOf(int index) {
    if (index == 1) {
        return {TimeStep::Kind::Random, 0};
    }
    if (index == 2) {
        return {TimeStep::Kind::HalfHour, 0};
    }
    if (index >= 3 && index <= 14) {
        return {TimeStep::Kind::Hours, index - 2};
    }
    return {};
}

}  // namespace

ExportSettings SettingsFromForm(const FormState& f) {
    ExportSettings s;
    s.publishStatus = FirstSelected<PublishStatus>(
        {{f.Option1, PublishStatus::Future}, {f.Option2, PublishStatus::Publish}, {f.Option3, PublishStatus::Draft}});
    s.dayStep = FirstSelected<DayStep>({{f.Option4, DayStep::OneDay},
                                        {f.Option5, DayStep::TwoDays},
                                        {f.Option6, DayStep::ThreeDays},
                                        {f.Option9, DayStep::SameDay}});
    s.timeStep = TimeStepOf(f.Combo1ListIndex);
    s.categoryRule = FirstSelected<CategoryRule>({{f.Option7, CategoryRule::FolderName},
                                                  {f.Option8, CategoryRule::Title},
                                                  {f.Option10, CategoryRule::GivenName},
                                                  {f.Option11, CategoryRule::FileName}});
    s.categoryName = f.Text8;
    s.titleMode = f.TitleMode == 1 ? TitleMode::TitleAndBody : TitleMode::TitleOnly;
    s.kaigyoMode = f.KaigyoMode == 1 ? KaigyoMode::Br : KaigyoMode::Keep;
    // The window lets only one of the three be selected (they share a frame); for a form
    // filled in by code with several, Shift-JIS wins over EUC, and EUC over UTF-8.
    s.outputEncoding = FirstSelected<OutputEncoding>({{f.Option14, OutputEncoding::ShiftJis},
                                                      {f.Option12, OutputEncoding::EucJp},
                                                      {f.Option13, OutputEncoding::Utf8}});
    s.lineEnds = f.Option16 ? LineEnds::Lf : LineEnds::CrLf;
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

void ShowDateFields(FormState& f, const DateFields& fields) {
    f.Text1 = fields.year;
    f.Text2 = fields.month;
    f.Text3 = fields.day;
    f.Text4 = fields.hour;
    f.Text5 = fields.minute;
}

void ShowArticles(FormState& f, const std::vector<ListedArticle>& articles) {
    f.List1.clear();
    f.List2.clear();
    for (const ListedArticle& article : articles) {
        f.List1.push_back(article.name);
        f.List2.push_back(article.path);
    }
}

void ShowResult(FormState& f, const ExportResult& result) {
    ShowDateFields(f, result.dateFields);
    if (result.listsCleared) {
        ShowArticles(f, {});
    }
    if (result.fileNameCleared) {
        f.Text7.clear();
    }
}

std::u16string Frame2CaptionFor(bool option1) { return option1 ? u"有効です" : u"指定しても無効です"; }

const std::vector<std::u16string>& Combo1Entries() {
    static const std::vector<std::u16string> entries{
        u"変更なし", u"ランダム", u"３０分", u"１時間", u"２時間",   u"３時間",   u"４時間",   u"５時間",
        u"６時間",   u"７時間",   u"８時間", u"９時間", u"１０時間", u"１１時間", u"１２時間",
    };
    return entries;
}

DateFields StartUpDateFields(StartDates& dates, Clock& clock) {
    DateFields fields;
    if (!dates.StartDate) {
        ResetStartDateToNow(dates, fields, clock);
    }
    FillDateFields(fields, dates.WorkDateText);
    return fields;
}

}  // namespace qb::app
