#pragma once
// The main window's controls as the export sees them: their states read into plain
// values (FormState), the mapping of those onto ExportSettings, and a run's results
// put back. Frame2's captions live here too. Nothing here needs a
// widget, so the mapping can be checked without clicks.

#include <cstdint>
#include <string>
#include <vector>

#include "export/entry_dates.h"
#include "export/export_run.h"
#include "export/export_settings.h"

namespace qb::app {

// Window-only choices, each set when one of its option buttons is clicked: the index of
// the clicked member (0 until then).
struct WindowState {
    std::int16_t SourceMode = 0;  // OptFile: 1 takes the articles from a blog folder
    std::int16_t KaigyoMode = 0;  // OptKaigyo: 1 writes line breaks as "<BR>"
    std::int16_t TitleMode = 0;   // OptTitle: 1 makes the title also the body's first line
    StartDates dates;             // kept from one run to the next
};

// The controls the export reads, as they stand. A group of option buttons is read as the
// caption of its selected button (empty: none selected), which names its choice in the
// tables of export/choices.h.
struct FormState {
    std::u16string Text1, Text2, Text3, Text4, Text5;  // start date as typed
    std::u16string Text7;                              // import file name, without ".txt"
    std::u16string Text8;                              // category name for "以下に指定した名を使う"
    std::u16string Frame3;                             // publish status
    std::u16string Frame4;                             // day step
    std::u16string Frame6;                             // category rule
    std::u16string Frame7;                             // output encoding
    std::u16string Frame9;                             // line ends
    std::u16string Check1;                             // its caption when ticked: platform characters
    int Combo1ListIndex = -1;                          // time step; -1: the text matches no entry
    int Combo2ListIndex = 0;                           // parts, in kSplitChoices' order
    std::int16_t KaigyoMode = 0;
    std::int16_t TitleMode = 0;
    std::u16string Dir1Path;            // source folder
    std::u16string Dir2Path;            // output folder
    std::vector<std::u16string> List1;  // names shown
    std::vector<std::u16string> List2;  // full paths, row by row with List1
};

// The settings the form asks for. A group with no button selected is NotChosen (the line
// ends: CR LF). Combo1 -1 (text that names no entry) moves the time as "変更なし" does.
[[nodiscard]] ExportSettings SettingsFromForm(const FormState& form);

[[nodiscard]] DateFields DateFieldsOf(const FormState& form);
void SetDateFields(FormState& form, const DateFields& fields);
void SetArticleLists(FormState& form, const std::vector<ListedArticle>& articles);

// Puts into the form what a run leaves there: the date fields, and the lists and name
// emptied when the result says so.
void ApplyResult(FormState& form, const ExportResult& result);

// Frame2's caption before any publish status is chosen, and once one is: the start date
// counts only under "指定日".
inline constexpr char16_t kFrame2StartCaption[] = u"無効";
[[nodiscard]] std::u16string Frame2CaptionFor(bool option1);

// The date fields at start-up: the start date (set to the present moment if still blank).
[[nodiscard]] DateFields StartUpDateFields(StartDates& dates, Clock& clock);

}  // namespace qb::app
