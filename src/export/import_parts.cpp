#include "export/import_parts.h"

#include <algorithm>
#include <cstring>
#include <fstream>
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

constexpr std::size_t kChunk = std::size_t{1} << 20;
constexpr std::string_view kRecordEndLine = "--------";

// Finds the record ends of a file fed in chunks: the offsets just after each line
// "--------" and its line end (CR LF or LF). Neither "-" nor LF can be part of a
// multibyte character in Shift_JIS, EUC-JP or UTF-8, so bytes are compared as they are.
class RecordEndFinder {
public:
    explicit RecordEndFinder(PartPlanner& planner) : planner_(planner) {}

    void Feed(std::string_view chunk) {
        const char* p = chunk.data();
        const char* const end = p + chunk.size();
        while (p < end) {
            if (state_ == kNoMatch) {
                const void* lf = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
                if (lf == nullptr) {
                    break;
                }
                p = static_cast<const char*>(lf) + 1;
                state_ = 0;
                continue;
            }
            const char c = *p++;
            if (c == '\n') {
                if (state_ == kDashes || state_ == kDashesCr) {
                    planner_.RecordEnd(offset_ + static_cast<std::uint64_t>(p - chunk.data()));
                }
                state_ = 0;
            } else if (c == '-' && state_ < kDashes) {
                ++state_;
            } else if (c == '\r' && state_ == kDashes) {
                state_ = kDashesCr;
            } else {
                state_ = kNoMatch;
            }
        }
        offset_ += chunk.size();
    }

    [[nodiscard]] std::uint64_t Size() const { return offset_; }

private:
    // The line so far: that many dashes, then the CR after eight of them, or no match.
    static constexpr int kDashes = static_cast<int>(kRecordEndLine.size());
    static constexpr int kDashesCr = kDashes + 1;
    static constexpr int kNoMatch = -1;

    PartPlanner& planner_;
    std::uint64_t offset_ = 0;
    int state_ = 0;
};

std::vector<FilePart> PlanFile(const std::filesystem::path& file, SplitLimits limits) {
    PartPlanner planner(limits);
    RecordEndFinder finder(planner);
    InputFile in(file);
    std::string buffer(kChunk, '\0');
    for (std::string_view chunk = in.Read(buffer); !chunk.empty(); chunk = in.Read(buffer)) {
        finder.Feed(chunk);
    }
    return planner.Finish(finder.Size());
}

// Copies the parts, in order, from the finished file into the set's files.
void CopyParts(const std::filesystem::path& file, const std::vector<FilePart>& parts,
               const std::vector<std::filesystem::path>& targets, ReplacementSet& set) {
    InputFile in(file);
    std::string buffer(kChunk, '\0');
    std::string_view pending;
    std::uint64_t offset = 0;  // of pending's first byte
    for (std::size_t i = 0; i < parts.size(); ++i) {
        set.Add(targets[i]);
        while (offset < parts[i].end) {
            if (pending.empty()) {
                pending = in.Read(buffer);
                if (pending.empty()) {
                    throw RunError(err::kDeviceIo, "the finished import file ended early");
                }
            }
            const auto take = static_cast<std::size_t>(std::min<std::uint64_t>(pending.size(), parts[i].end - offset));
            set.Write(pending.substr(0, take));
            pending.remove_prefix(take);
            offset += take;
        }
    }
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

// Removes the files of the import file's names beside it that the set does not hold;
// their names, sorted. What cannot be listed or removed stays.
// Whether the file begins as every import file with a record does. A name of the pattern
// is not proof enough: "blog-2023.txt" may be the user's own file beside an export "blog".
bool BeginsLikeAnImportFile(const std::filesystem::path& path) {
    constexpr std::string_view kFirstLine = "AUTHOR:";
    std::ifstream in(path, std::ios::binary);
    std::string head(kFirstLine.size(), '\0');
    return in.read(head.data(), static_cast<std::streamsize>(head.size())) && head == kFirstLine;
}

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

void PartPlanner::CloseCurrent() {
    parts_.push_back({begin_, last_, records_, limits_.bytes != 0 && last_ - begin_ > limits_.bytes});
    begin_ = last_;
    records_ = 0;
}

void PartPlanner::RecordEnd(std::uint64_t end) {
    const bool tooMany = limits_.records != 0 && records_ >= limits_.records;
    const bool tooLarge = limits_.bytes != 0 && end - begin_ > limits_.bytes;
    if (records_ > 0 && (tooMany || tooLarge)) {
        CloseCurrent();
    }
    ++records_;
    last_ = end;
}

std::vector<FilePart> PartPlanner::Finish(std::uint64_t size) {
    last_ = size;  // after a record end there is always a current part to close
    CloseCurrent();
    return std::move(parts_);
}

std::vector<FilePart> PlanParts(const std::vector<std::uint64_t>& recordEnds, std::uint64_t size, SplitLimits limits) {
    PartPlanner planner(limits);
    for (const std::uint64_t end : recordEnds) {
        planner.RecordEnd(end);
    }
    return planner.Finish(size);
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

WrittenParts PutImportFileInPlace(ReplacementFile& finished, const std::filesystem::path& importPath,
                                  const std::vector<ListedArticle>& articles, SplitLimits limits,
                                  const std::function<bool(const std::filesystem::path&)>& isArticle) {
    ListedFiles listed(articles, isArticle);
    const std::filesystem::path folder = importPath.parent_path();
    const std::u16string fileName = FromPath(importPath.filename());
    const std::u16string stem = fileName.substr(0, fileName.size() - 4);  // without ".txt"
    WrittenParts written;
    if (limits.records != 0 || limits.bytes != 0) {
        written.parts = PlanFile(finished.Path(), limits);
    } else {
        written.parts = {{0, std::filesystem::file_size(finished.Path()), articles.size(), false}};
    }
    written.names = PartNames(stem, written.parts.size());
    if (written.parts.size() == 1) {
        finished.Commit();
    } else {
        std::vector<std::filesystem::path> targets;
        for (const std::u16string& name : written.names) {
            targets.push_back(folder / ToPath(name));
            if (listed(targets.back())) {
                throw RunError(err::kPathFileAccess, "a part of the import file is a listed article");
            }
        }
        ReplacementSet set(finished.Path());
        CopyParts(finished.Path(), written.parts, targets, set);
        set.Commit();
    }
    written.removed = RemoveEarlierFiles(folder, stem, written.names, listed);
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
