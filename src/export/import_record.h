#pragma once
// One import record of the MovableType import format, written in 15 steps from the
// record labels, the article and the window's choices.

#include <cstddef>
#include <string>

#include "export/article.h"
#include "export/clock.h"
#include "export/import_file.h"
#include "export/messages.h"
#include "export/module1.h"
#include "export/window_model.h"

namespace qb {

// What the steps of one run share.
struct RecordWriter {
    Module1& module;
    WindowModel& window;
    MessageSink& messages;
    Clock& clock;
    ImportFile& out;
};

// "Future", "Publish" or "Draft" by the first selected of Option1..Option3; empty when
// none is selected.
[[nodiscard]] std::u16string StatusValue(const WindowModel& window);

// The DATE value from the fields as they stand: month/day/year hh:mm:00.
[[nodiscard]] std::u16string DateText(const WindowModel& window);

// The PRIMARY CATEGORY value of article index by the first selected category rule.
// Needs EntryTitle of this article. Throws RunError 5 for a file name shorter than
// 4 characters under "ファイル名を使う", 9 when List1 has no entry index.
[[nodiscard]] std::u16string CategoryValue(Module1& module, const WindowModel& window, std::size_t index,
                                           std::u16string_view articlePath);

// Writes the record of article index (open as article, path CurrentPath), steps 1 to 15.
// Under "指定日" the start date is advanced after the DATE line.
void WriteRecord(RecordWriter& writer, ArticleFile& article, std::size_t index);

}  // namespace qb
