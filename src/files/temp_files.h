#pragma once
// Names of the file layer's own work files, and the removal of those a killed program
// left behind. A work file is named ".quillbrook-" and six letters or digits, in the
// folder of the file it is made for; the same on every platform. The work files of a
// split import file add "-" and a number to such a name (".quillbrook-Ab3xY9-12").

#include <chrono>
#include <filesystem>
#include <string>

namespace qb {

// A fresh name of the pattern, from a random source.
[[nodiscard]] std::string NewTempName();

// Whether fileName (a name without folder) has the pattern exactly, with or without a
// number after it.
[[nodiscard]] bool IsTempName(const std::filesystem::path& fileName);

// Removes the regular files of folder (not its sub-folders) whose names have the pattern
// and that were last written more than age ago. Links, folders and other names are left
// alone. Never fails: what cannot be listed or removed stays.
void RemoveStaleTempFiles(const std::filesystem::path& folder, std::chrono::seconds age = std::chrono::hours(1));

}  // namespace qb
