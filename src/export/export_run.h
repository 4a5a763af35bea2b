#pragma once
// The export run: checks, one record per listed article, the re-encoding, and the
// final message. What the run changes goes back to the caller as values.

#include <array>
#include <cstddef>
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

// The fixed start of each line of a record, by its place in the record; 0 is the empty
// line, and 11 and 13 are the breaks written when KaigyoMode is Br.
inline constexpr std::size_t kRecordLabelCount = 16;

// One run over the settings: what the record writing shares while it goes. The start
// date moves on in `dates` and `fields` article by article; a caller that shows messages
// during the run can show `fields` as they stand.
struct ExportRun {
    ExportRun(const ExportSettings& settings, StartDates& dates, MessageSink& messages, Clock& clock);

    const ExportSettings& settings;
    StartDates& dates;
    MessageSink& messages;
    Clock& clock;

    DateFields fields;  // the start-date fields, from the settings, as the run moves them
    std::u16string CurrentPath;
    std::size_t ArticleCount = 0;
    std::u16string LineBuffer;
    std::u16string EntryTitle;
    std::u16string ArticleFolderName;
    std::array<std::u16string, kRecordLabelCount> RecordLabels;
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
