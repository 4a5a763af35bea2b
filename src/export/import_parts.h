#pragma once
// The finished import file in parts, for importers that take only so many entries or
// bytes at a time. The finished file is cut at record ends only (a record ends with the
// line "--------"; no body line is one), greedily: each part takes as many whole records
// as fit its limits, and a record larger than the byte limit goes alone into a part of
// its own. The parts are copied from the finished file in pieces, never held whole.
//
// One part is NAME.txt, as without limits; more are NAME-1.txt ... NAME-k.txt, the number
// padded with zeros to the width of k so that the names sort in order. Every file of the
// set appears at the very end, together; after that, the NAME.txt and NAME-<digits>.txt an
// earlier run left beside them are removed, so that no old part is imported twice.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "export/export_settings.h"
#include "files/file_io.h"

namespace qb {

// Bytes [begin, end) of the finished file, holding `records` whole records.
struct FilePart {
    std::uint64_t begin = 0;
    std::uint64_t end = 0;
    std::uint64_t records = 0;
    bool oversized = false;  // one record alone, over the byte limit

    bool operator==(const FilePart&) const = default;
};

// The plan, record end by record end, keeping only the parts.
class PartPlanner {
public:
    explicit PartPlanner(SplitLimits limits) : limits_(limits) {}
    // The next record ends at this offset (just after its "--------" line's end).
    void RecordEnd(std::uint64_t end);
    // The parts of a file of size bytes; at least one. Bytes after the last record end
    // stay with the last part.
    [[nodiscard]] std::vector<FilePart> Finish(std::uint64_t size);

private:
    void CloseCurrent();

    SplitLimits limits_;
    std::vector<FilePart> parts_;
    std::uint64_t begin_ = 0;
    std::uint64_t last_ = 0;
    std::uint64_t records_ = 0;
};

[[nodiscard]] std::vector<FilePart> PlanParts(const std::vector<std::uint64_t>& recordEnds, std::uint64_t size,
                                              SplitLimits limits);

// The names of count files for the import file's name stem (NAME of NAME.txt).
[[nodiscard]] std::vector<std::u16string> PartNames(std::u16string_view stem, std::size_t count);

// Whether fileName is NAME.txt or NAME-<digits>.txt for stem NAME.
[[nodiscard]] bool IsPartName(std::u16string_view fileName, std::u16string_view stem);

// What was written, and what was removed.
struct WrittenParts {
    std::vector<FilePart> parts;
    std::vector<std::u16string> names;
    std::vector<std::u16string> removed;  // names of an earlier run's files, sorted
};

// Puts the finished file (re-encoded, closed) in place of importPath: committed as it is
// when it is one part, else copied into parts and those committed together. Files that
// the set does not hold, of the import file's names, are removed afterwards, except the
// listed articles (one record each). A file that exists is an article when it is the same
// file as one; for a name that does not, isArticle decides. Throws RunError (75 when a
// part's name is a listed article) before any file of the set is touched.
WrittenParts PutImportFileInPlace(ReplacementFile& finished, const std::filesystem::path& importPath,
                                  const std::vector<ListedArticle>& articles, SplitLimits limits,
                                  const std::function<bool(const std::filesystem::path&)>& isArticle);

// What the success message says under its line about the files: which were written (with
// records and bytes) and which removed. Empty for one file, nothing removed and no limit.
[[nodiscard]] std::u16string PartsReport(const WrittenParts& written, SplitLimits limits);

}  // namespace qb
