#include "export/import_parts.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <set>
#include <string>
#include <system_error>
#include <utility>

#include "common/run_error.h"
#include "export/messages.h"
#include "files/paths.h"

namespace qb {

namespace {

constexpr std::size_t kWriteSize = std::size_t{256} * 1024;
constexpr std::string_view kRecordEndLine = "--------";

// The state of a line being read for "--------": that many dashes, then the CR after
// eight of them, or no match. Neither "-" nor LF can be part of a multibyte character in
// Shift_JIS, EUC-JP or UTF-8, so bytes are compared as they are.
constexpr int kDashes = static_cast<int>(kRecordEndLine.size());
constexpr int kDashesCr = kDashes + 1;
constexpr int kNoMatch = -1;

// The offset just after the first record end in bytes (a line "--------" with its CR LF
// or LF, begun in bytes or before them as state says), or npos; state follows the bytes
// read.
std::size_t FindRecordEnd(std::string_view bytes, int& state) {
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while (p < end) {
        if (state == kNoMatch) {
            const void* lf = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
            if (lf == nullptr) {
                break;
            }
            p = static_cast<const char*>(lf) + 1;
            state = 0;
            continue;
        }
        const char c = *p++;
        if (c == '\n') {
            const bool found = state == kDashes || state == kDashesCr;
            state = 0;
            if (found) {
                return static_cast<std::size_t>(p - bytes.data());
            }
        } else if (c == '-' && state < kDashes) {
            ++state;
        } else if (c == '\r' && state == kDashes) {
            state = kDashesCr;
        } else {
            state = kNoMatch;
        }
    }
    return std::string_view::npos;
}

// Whether a path is a listed article. A file that exists is looked up by its identity
// among the articles' (each article looked at once, when first needed), so that a set of
// many parts asks nothing of every article for every part; one that does not exist is
// asked of the run's rule.
class ListedFiles {
public:
    ListedFiles(const std::vector<ListedArticle>& articles,
                const std::function<bool(const std::filesystem::path&)>& isArticle)
        : articles_(articles), isArticle_(isArticle) {}

    bool operator()(const std::filesystem::path& path) {
        const std::optional<FileId> id = IdentityOf(path);
        if (!id) {
            return isArticle_(path);
        }
        if (!ids_) {
            ids_.emplace();
            for (const ListedArticle& article : articles_) {
                if (const std::optional<FileId> articleId = IdentityOf(ToPath(article.path))) {
                    ids_->insert(*articleId);
                }
            }
        }
        return ids_->count(*id) != 0;
    }

private:
    const std::vector<ListedArticle>& articles_;
    const std::function<bool(const std::filesystem::path&)>& isArticle_;
    std::optional<std::set<FileId>> ids_;
};

// Whether the file begins as every import file with a record does. A name of the pattern
// is not proof enough: "blog-2023.txt" may be the user's own file beside an export "blog".
bool BeginsLikeAnImportFile(const std::filesystem::path& path) {
    constexpr std::string_view kFirstLine = "AUTHOR:";
    try {
        InputFile in(path);
        std::string buffer(kFirstLine.size(), '\0');
        std::string head;
        for (std::string_view bytes = in.Read(buffer); !bytes.empty() && head.size() < kFirstLine.size();
             bytes = in.Read(buffer)) {
            head += bytes.substr(0, kFirstLine.size() - head.size());
        }
        return head == kFirstLine;
    } catch (const RunError&) {
        return false;  // a file that cannot be read is left alone
    }
}

// Removes the files of the import file's names beside it that the set does not hold;
// their names, sorted. What cannot be listed or removed stays.
std::vector<std::u16string> RemoveEarlierFiles(const std::filesystem::path& folder, std::u16string_view stem,
                                               const std::vector<std::u16string>& kept, ListedFiles& isArticle) {
    namespace fs = std::filesystem;
    std::vector<std::u16string> removed;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::u16string name = FromPath(it->path().filename());
        std::error_code entryError;
        if (!IsPartName(name, stem) || std::find(kept.begin(), kept.end(), name) != kept.end() ||
            it->is_directory(entryError) || isArticle(it->path()) || !BeginsLikeAnImportFile(it->path())) {
            continue;
        }
        if (fs::remove(it->path(), entryError)) {
            removed.push_back(name);
        }
    }
    std::sort(removed.begin(), removed.end());
    return removed;
}

}  // namespace

bool PartPlanner::Place(std::uint64_t size, bool ended) {
    if (!parts_.empty()) {
        const FilePart& part = parts_.back();
        const bool tooMany = limits_.records != 0 && part.records >= limits_.records;
        const bool tooLarge = limits_.bytes != 0 && (!ended || part.end - part.begin + size > limits_.bytes);
        if (!tooMany && !tooLarge) {
            return false;
        }
    }
    const std::uint64_t begin = parts_.empty() ? 0 : parts_.back().end;
    parts_.push_back({begin, begin, 0, false});
    return true;
}

void PartPlanner::End(std::uint64_t size) {
    FilePart& part = parts_.back();
    part.end += size;
    ++part.records;
    part.oversized = limits_.bytes != 0 && part.end - part.begin > limits_.bytes;
}

std::vector<FilePart> PartPlanner::Finish() {
    if (parts_.empty()) {
        parts_.push_back({});
    }
    return std::move(parts_);
}

PartsWriter::PartsWriter(const std::filesystem::path& base, SplitLimits limits)
    : planner_(limits), hold_(limits.bytes != 0 ? std::min(limits.bytes, kHoldLimit) : kHoldLimit), set_(base) {}

void PartsWriter::Put(std::string_view bytes) {
    for (std::size_t end = FindRecordEnd(bytes, lineState_); end != std::string_view::npos;
         end = FindRecordEnd(bytes, lineState_)) {
        Take(bytes.substr(0, end));
        EndRecord();
        bytes.remove_prefix(end);
    }
    Take(bytes);
}

void PartsWriter::Take(std::string_view bytes) {
    pending_ += bytes;
    recordBytes_ += bytes.size();
    if (recordPlaced_) {
        placed_ = pending_.size();
    } else if (recordBytes_ > hold_) {
        Place(false);
    }
    if (placed_ >= kWriteSize) {
        WritePlaced();
    }
}

void PartsWriter::Place(bool ended) {
    if (planner_.Place(recordBytes_, ended)) {
        WritePlaced();  // the end of the part before
        set_.Add();
    }
    placed_ = pending_.size();
    recordPlaced_ = true;
}

void PartsWriter::EndRecord() {
    if (!recordPlaced_) {
        Place(true);
    }
    planner_.End(recordBytes_);
    recordBytes_ = 0;
    recordPlaced_ = false;
}

void PartsWriter::WritePlaced() {
    if (placed_ != 0) {
        set_.Write(std::string_view(pending_).substr(0, placed_));
        pending_.erase(0, placed_);
        placed_ = 0;
    }
}

std::vector<FilePart> PartsWriter::Finish() {
    if (recordBytes_ != 0) {
        EndRecord();
    }
    WritePlaced();
    if (set_.Files().empty()) {
        set_.Add();  // an empty file
    }
    return planner_.Finish();
}

std::vector<std::u16string> PartNames(std::u16string_view stem, std::size_t count) {
    if (count == 1) {
        return {std::u16string(stem) + u".txt"};
    }
    const std::size_t width = std::to_string(count).size();
    std::vector<std::u16string> names;
    for (std::size_t i = 1; i <= count; ++i) {
        std::string number = std::to_string(i);
        number.insert(0, width - number.size(), '0');
        names.push_back(std::u16string(stem) + u"-" + std::u16string(number.begin(), number.end()) + u".txt");
    }
    return names;
}

bool IsPartName(std::u16string_view fileName, std::u16string_view stem) {
    constexpr std::u16string_view kExtension = u".txt";
    if (fileName.size() < stem.size() + kExtension.size() || fileName.substr(0, stem.size()) != stem ||
        fileName.substr(fileName.size() - kExtension.size()) != kExtension) {
        return false;
    }
    const std::u16string_view middle = fileName.substr(stem.size(), fileName.size() - stem.size() - kExtension.size());
    if (middle.empty()) {
        return true;
    }
    return middle.size() > 1 && middle.front() == u'-' &&
           std::all_of(middle.begin() + 1, middle.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

bool PartsWriter::WriteWholeTo(const std::filesystem::path& file) noexcept {
    try {
        set_.Close();
        OutputFile out(file);
        std::string buffer(kWriteSize, '\0');
        for (const std::filesystem::path& part : set_.Files()) {
            InputFile in(part);
            for (std::string_view chunk = in.Read(buffer); !chunk.empty(); chunk = in.Read(buffer)) {
                out.Write(chunk);
            }
        }
        out.Write(pending_);
        out.Close();
        return true;
    } catch (...) {
        return false;
    }
}

namespace {

// The stem of the import file's name: NAME of NAME.txt.
std::u16string StemOf(const std::filesystem::path& importPath) {
    const std::u16string fileName = FromPath(importPath.filename());
    return fileName.substr(0, fileName.size() - 4);
}

}  // namespace

WrittenParts PutImportFileInPlace(ReplacementFile& finished, const std::filesystem::path& importPath,
                                  const std::vector<ListedArticle>& articles,
                                  const std::function<bool(const std::filesystem::path&)>& isArticle) {
    WrittenParts written;
    written.parts = {{0, std::filesystem::file_size(finished.Path()), articles.size(), false}};
    written.names = PartNames(StemOf(importPath), 1);
    finished.Commit();
    ListedFiles listed(articles, isArticle);
    written.removed = RemoveEarlierFiles(importPath.parent_path(), StemOf(importPath), written.names, listed);
    return written;
}

WrittenParts PutPartsInPlace(PartsWriter& parts, const std::filesystem::path& importPath,
                             const std::vector<ListedArticle>& articles,
                             const std::function<bool(const std::filesystem::path&)>& isArticle) {
    ListedFiles listed(articles, isArticle);
    const std::u16string stem = StemOf(importPath);
    WrittenParts written;
    written.parts = parts.Finish();
    written.names = PartNames(stem, written.parts.size());
    std::vector<std::filesystem::path> targets;
    for (const std::u16string& name : written.names) {
        targets.push_back(importPath.parent_path() / ToPath(name));
        if (listed(targets.back())) {
            throw RunError(err::kPathFileAccess, "a part of the import file is a listed article");
        }
    }
    parts.Commit(targets);
    written.removed = RemoveEarlierFiles(importPath.parent_path(), stem, written.names, listed);
    return written;
}

std::u16string PartsReport(const WrittenParts& written, SplitLimits limits) {
    const bool asked = limits.records != 0 || limits.bytes != 0;
    if (written.names.size() == 1 && written.removed.empty() && !asked) {
        return {};
    }
    std::u16string report = u"書き込んだファイル:";
    for (std::size_t i = 0; i < written.parts.size(); ++i) {
        const FilePart& part = written.parts[i];
        report += u"\n" + written.names[i] + u"　" + GroupedNumberText(part.records) + u" 件　" +
                  GroupedNumberText(part.end - part.begin) + u" バイト";
        if (part.oversized) {
            report += u"（1 件で " + GroupedNumberText(limits.bytes) + u" バイトを超えます）";
        }
    }
    if (!written.removed.empty()) {
        report += u"\n削除した前回のファイル:";
        for (const std::u16string& name : written.removed) {
            report += u"\n" + name;
        }
    }
    return report;
}

}  // namespace qb
