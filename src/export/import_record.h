#pragma once
// One import record of the MovableType import format: its lines in order, from the
// record labels, the article and the run's settings.

#include <cstddef>
#include <string>

#include "export/article.h"
#include "export/export_run.h"
#include "export/export_settings.h"
#include "export/import_file.h"

namespace qb {

// "Future", "Publish" or "Draft"; empty when no status is chosen.
[[nodiscard]] std::u16string StatusValue(PublishStatus status);

// The DATE value from the fields as they stand: month/day/year hh:mm:00.
[[nodiscard]] std::u16string DateText(const DateFields& fields);

// The PRIMARY CATEGORY value of article index by the category rule. Needs EntryTitle of
// this article. CategoryRule::FileName takes the article's name without its last four
// characters (".txt"), and throws RunError 5 for a name shorter than that.
[[nodiscard]] std::u16string CategoryValue(ExportRun& run, std::size_t index, std::u16string_view articlePath);

// Writes the record of article index (open as article, path CurrentPath). For a Future
// entry the start date is moved on after the DATE line, ready for the next record.
void WriteRecord(ExportRun& run, ImportFile& out, ArticleFile& article, std::size_t index);

}  // namespace qb
