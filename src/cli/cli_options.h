#pragma once
// The command-line exporter's arguments and the export settings they make.

#include <optional>
#include <string>
#include <vector>

#include "export/export_settings.h"

namespace qb::cli {

enum class Action { Export, Help, Version };

// Each flag's value as given. The flags of a choice (status, category, first line,
// breaks, encodings, day and time steps, line ends) take a word of its table in
// export/choices.h.
struct Arguments {
    Action action = Action::Export;
    std::optional<std::string> name;  // the import file's, as given
    std::optional<std::string> outputDir;
    std::optional<std::string> status;
    std::optional<std::string> category;
    std::optional<std::string> categoryName;
    std::optional<std::string> firstLine;
    std::optional<std::string> breaks;
    std::optional<std::string> encoding;
    std::optional<std::string> start;  // "YYYY/MM/DD hh:mm"
    std::optional<std::string> dayStep;
    std::optional<std::string> timeStep;
    std::optional<std::string> lineEnds;
    std::optional<std::string> articleEncoding;
    std::optional<std::string> platformChars;
    std::optional<std::string> blog;  // blog folder
    std::optional<std::string> splitEntries;
    std::optional<std::string> splitSize;
    std::vector<std::string> articles;
};

// A command line that cannot be understood; message says why (UTF-8).
struct UsageError {
    std::string message;
};

// Reads the arguments (UTF-8) without looking at the file system. Throws UsageError.
[[nodiscard]] Arguments Parse(const std::vector<std::string>& args);

// Cuts "YYYY/MM/DD hh:mm" at "/", " " and ":" into five non-empty parts, kept as typed.
// Throws UsageError for anything else.
[[nodiscard]] std::vector<std::u16string> SplitStart(const std::string& text);

// The settings the arguments ask for; the start date is now unless --start is given.
// The output folder and the articles are the caller's: they need the file system.
[[nodiscard]] ExportSettings SettingsOf(const Arguments& args, const DateFields& now);

// The limits of --split-entries (a count) and --split-size (bytes, or a number with K, M
// or G for powers of 1024, as split(1) reads it); 0 for a flag not given. Throws
// UsageError for 0, a sign, junk or a number too large.
[[nodiscard]] SplitLimits SplitOf(const Arguments& args);

[[nodiscard]] const char* UsageText();

}  // namespace qb::cli
