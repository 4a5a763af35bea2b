#pragma once
// One import record of the MovableType import format: its lines in order, from the
// article, its title and the run's settings. The record's format is import_record.cpp's
// table of lines; nothing else knows it.

#include <functional>
#include <string>

#include "export/article.h"
#include "export/export_settings.h"
#include "export/import_file.h"

namespace qb {

// "Future", "Publish" or "Draft"; empty when no status is chosen.
[[nodiscard]] std::u16string StatusValue(PublishStatus status);

// The DATE value from the fields as they stand: month/day/year hh:mm:00.
[[nodiscard]] std::u16string DateText(const DateFields& fields);

// The PRIMARY CATEGORY value of a listed article by the category rule, given its title.
// CategoryRule::FileName takes the article's name without its last four characters
// (".txt"), and throws RunError 5 for a name shorter than that; FolderName throws 5 for a
// path without a folder.
[[nodiscard]] std::u16string CategoryValue(const ExportSettings& settings, const ListedArticle& listed,
                                           std::u16string_view title);

// What one record is written from besides the article file itself.
struct RecordValues {
    const ExportSettings& settings;
    const ListedArticle& listed;
    const ArticleTitle& title;  // as ReadTitle found it in the article
    const DateFields& date;     // the start-date fields, read when the DATE line is written
};

// Writes the record of one article, open as article. dateWritten runs right after the
// DATE line (a Future run moves its start date on there, ready for the next record).
void WriteRecord(ImportFile& out, ArticleFile& article, const RecordValues& values,
                 const std::function<void()>& dateWritten);

}  // namespace qb
