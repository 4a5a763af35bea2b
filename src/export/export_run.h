#pragma once
// The export run: checks, one record per listed article, the re-encoding, and the
// final message. What the run changes goes back to the caller as values.

#include <string>

#include "export/clock.h"
#include "export/entry_dates.h"
#include "export/export_settings.h"
#include "export/messages.h"

namespace qb {

enum class ExportOutcome {
    Refused,         // a check failed; nothing written
    Succeeded,       // "書き込み正常終了"
    Utf8Failed,      // "UTF-8 への変換に失敗しました。"; Shift_JIS file left
    Failed,          // "書き込み異常終了です。" and the number
    ProgramMustEnd,  // the performance counter failed: the caller ends the program
};

// One run over the settings, and what a run has to keep while it goes: the start date,
// which moves on in `dates` and `fields` article by article, and the path being opened.
// A caller that shows messages during the run can show `fields` as they stand.
struct ExportRun {
    ExportRun(const ExportSettings& settings, StartDates& dates, MessageSink& messages, Clock& clock);

    const ExportSettings& settings;
    StartDates& dates;
    MessageSink& messages;
    Clock& clock;

    DateFields fields;           // the start-date fields, from the settings, as the run moves them
    std::u16string CurrentPath;  // the import file's path, then each article's
};

// What the caller shows after a run.
struct ExportResult {
    ExportOutcome outcome = ExportOutcome::Refused;
    DateFields dateFields;         // the start-date fields as the run left them
    bool listsCleared = false;     // the article list is to be emptied
    bool fileNameCleared = false;  // the import file name is to be emptied
};

ExportResult RunExport(ExportRun& run);

// The same, for a caller that does not look at the run while it goes.
ExportResult RunExport(const ExportSettings& settings, StartDates& dates, MessageSink& messages, Clock& clock);

}  // namespace qb
