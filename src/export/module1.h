#pragma once
// The shared settings and run state that the window and the export share. The program
// holds exactly one instance for its whole life; nothing is saved between runs.

#include <array>
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

}  // namespace qb
