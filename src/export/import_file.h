#pragma once
// The import file while its records are written: text lines composed as UTF-16, each
// written in code page 932 followed by CR LF, through one buffer into a file or a sink.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "export/byte_sink.h"
#include "export/long_lines.h"
#include "files/file_io.h"

namespace qb {

// Throws RunError unless folder is an existing folder: 76 when it does not exist, 75
// when it is not a folder.
void CheckOutputFolder(const std::filesystem::path& folder);

class ImportFile {
public:
    // Creates the file or empties an existing one. Throws RunError: 76 when the folder
    // does not exist, 75 when it or its folder is not a folder, the file system's number
    // otherwise.
    explicit ImportFile(const std::filesystem::path& path, const LineRules& rules = {});
    // Writes into sink instead, which stays the caller's.
    ImportFile(ByteSink& sink, const LineRules& rules);
    // Flushes what was written and closes, quietly (a failure has already ended the run).
    ~ImportFile();
    ImportFile(const ImportFile&) = delete;
    ImportFile& operator=(const ImportFile&) = delete;

    // Writes one line. Characters code page 932 cannot hold become "?" (or references, as
    // the rules say). A write failure is remembered and reported by Close, so that later
    // lines are passed over.
    void WriteLine(std::u16string_view text);
    // The kind of the next line (long_lines.h); a line is Plain unless it says otherwise.
    void BeginLine(LineKind kind) { lines_.BeginLine(kind); }
    // Writes a line in pieces: text without line end, then the line end.
    void Write(std::u16string_view text);
    void EndLine();

    // What the lines of the records say about losses; BeginRecord starts a record.
    [[nodiscard]] LineWriter& Lines() { return lines_; }

    // Flushes and closes. Throws RunError when any write or the flush failed.
    void Close();

private:
    void Flush();

    std::optional<OutputFile> file_;
    ByteSink* sink_ = nullptr;  // where the lines go when not into file_
    LineWriter lines_;
    std::string pending_;    // encoded lines not yet written
    int failureNumber_ = 0;  // of the first failed write; 0 while none failed
    bool closed_ = false;
};

}  // namespace qb
