#pragma once
// The shared settings and run state that the window and the export share. The program
// holds exactly one instance for its whole life; nothing is saved between runs.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "export/date_time.h"

namespace qb {

struct Module1 {
    // Written by the option groups' click handling: the clicked member's index.
    std::int16_t SourceMode = 0;  // 1: a blog folder; otherwise single files
    std::int16_t KaigyoMode = 0;  // 1: line breaks become "<BR>"
    std::int16_t TitleMode = 0;   // 1: the title line is also the body's first line

    // Start date: the saved one (blank until start-up), the working one, the last step.
    std::optional<DateTime> StartDate;
    std::u16string StartDateText;
    DateTime WorkDate{};
    std::u16string WorkDateText;
    std::optional<DateTime> StepDate;
    std::u16string StepDateText;

    // Run state of the export.
    std::u16string OutputFolder;
    std::u16string CurrentPath;
    std::size_t ArticleCount = 0;
    std::u16string LineBuffer;
    std::u16string EntryTitle;
    std::u16string ArticleFolderName;
    std::array<std::u16string, 16> RecordLabels{};

    // Window only: the folder of the articles last appended from the file list.
    std::u16string SourceFolder;
};

struct WindowModel;
class Clock;

// Frame2's caption once a publish status is chosen: the start date counts only when
// "指定日" (Option1) is the one chosen.
[[nodiscard]] std::u16string Frame2CaptionFor(bool option1);

// The fixed record labels, index 0 to 15.
void FillRecordLabels(Module1& module);

// The start-up state of the settings and the window's fields: "無効" in Frame2's
// caption, the start date at the present moment (if blank) shown in Text1..Text5, the
// record labels, and the 15 time-step entries with entry 0 selected. (Selecting member 0
// of the three option groups is the window's own work.)
void InitialState(Module1& module, WindowModel& window, Clock& clock);

}  // namespace qb
