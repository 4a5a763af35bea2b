#pragma once
// The articles of a blog folder: every file of every direct sub-folder, none from the
// folder itself, none deeper. Sub-folders and files are taken in name order
// (case-insensitive), hidden entries skipped.

#include <string>
#include <vector>

#include "export/export_settings.h"

namespace qb {

// The articles of the blog folder at base, in that order.
// Throws RunError when the folder cannot be listed.
[[nodiscard]] std::vector<ListedArticle> BlogFolderArticles(const std::u16string& base);

}  // namespace qb
