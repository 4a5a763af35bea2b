#pragma once
// The finished import file in parts, for importers that take only so many entries or
// bytes at a time. The finished file is cut at record ends only (a record ends with the
// line "--------"; no body line is one), greedily: each part takes as many whole records
// as fit its limits, and a record larger than the byte limit goes alone into a part of
// its own (as does one over kHoldLimit when the byte limit is larger). The parts are
// written as the finished bytes come, never held whole.
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

#include "export/byte_sink.h"
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

// The plan, record by record: in which part each record goes. A record is placed once its
// size is known, or earlier, once it has grown past what may be held back; a record
// placed early goes into a new part unless the current one is empty.
class PartPlanner {
public:
    explicit PartPlanner(SplitLimits limits) : limits_(limits) {}
    // Places the next record, of size bytes when ended, else of at least size bytes. True
    // when it begins a new part (the first record always does).
    bool Place(std::uint64_t size, bool ended);
    // The record placed last has ended, at size bytes.
    void End(std::uint64_t size);
    // The parts; at least one.
    [[nodiscard]] std::vector<FilePart> Finish();

private:
    SplitLimits limits_;
    std::vector<FilePart> parts_;  // the last is the one being filled
};

// Writes the finished file's bytes into parts as they come, cutting them at record ends
// only. The record being written is held in memory until its end says where it goes, up
// to kHoldLimit bytes (or the byte limit, when that is smaller); a record larger than
// that is placed as it grows, and then begins a part of its own (see PartPlanner). Each
// part is a work file of a ReplacementSet named after base; nothing replaces a file
// before Commit().
class PartsWriter : public ByteSink {
public:
    static constexpr std::uint64_t kHoldLimit = std::uint64_t{8} << 20;

    PartsWriter(const std::filesystem::path& base, SplitLimits limits);

    void Put(std::string_view bytes) override;
    // Writes what is held. Bytes after the last record end count as one more record.
    [[nodiscard]] std::vector<FilePart> Finish();
    // Writes every byte given so far, in order, into file (emptied first): the whole of
    // what the parts hold, to be kept when the run fails. Whether all of it was written.
    bool WriteWholeTo(const std::filesystem::path& file) noexcept;
    // Puts part i in place of targets[i]: ReplacementSet::Commit().
    void Commit(const std::vector<std::filesystem::path>& targets) { set_.Commit(targets); }

private:
    void Take(std::string_view bytes);
    void EndRecord();
    void Place(bool ended);
    void WritePlaced();

    PartPlanner planner_;
    std::uint64_t hold_;
    ReplacementSet set_;
    // Bytes not yet written: [0, placed_) go to the part written last, the rest are the
    // current record's, while its part is not yet known.
    std::string pending_;
    std::size_t placed_ = 0;
    bool recordPlaced_ = false;
    std::uint64_t recordBytes_ = 0;
    int lineState_ = 0;  // how much of a line "--------" the bytes last seen end with
};

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

// Puts the finished file (re-encoded, closed) in place of importPath, with no limits on
// its size. Then removes, of the import file's names, the files that the set does not
// hold, except the listed articles (one record each). A file that exists is an article
// when it is the same file as one; for a name that does not, isArticle decides.
WrittenParts PutImportFileInPlace(ReplacementFile& finished, const std::filesystem::path& importPath,
                                  const std::vector<ListedArticle>& articles,
                                  const std::function<bool(const std::filesystem::path&)>& isArticle);

// The same for a file written in parts. Throws RunError (75 when a part's name is a listed
// article) before any file of the set is touched.
WrittenParts PutPartsInPlace(PartsWriter& parts, const std::filesystem::path& importPath,
                             const std::vector<ListedArticle>& articles,
                             const std::function<bool(const std::filesystem::path&)>& isArticle);

// What the success message says under its line about the files: which were written (with
// records and bytes) and which removed. Empty for one file, nothing removed and no limit.
[[nodiscard]] std::u16string PartsReport(const WrittenParts& written, SplitLimits limits);

}  // namespace qb
