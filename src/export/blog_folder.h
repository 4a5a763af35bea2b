#pragma once
// Filling the article lists from a blog folder: every file of every direct sub-folder,
// none from the folder itself, none deeper. Sub-folders and files are taken in name
// order (case-insensitive), hidden entries skipped.

#include <string>

#include "export/window_model.h"

namespace qb {

// Empties List1 and List2 and fills them from the blog folder at base.
// Throws RunError when the folder cannot be listed.
void FillListsFromBlogFolder(WindowModel& window, const std::u16string& base);

}  // namespace qb
