#include "export/export_run.h"

#include <algorithm>
#include <filesystem>
#include <new>
#include <optional>
#include <string>
#include <system_error>
#include <unordered_set>
#include <vector>

#include "common/run_error.h"
#include "export/article.h"
#include "export/entry_dates.h"
#include "export/file_name.h"
#include "export/import_file.h"
#include "export/import_parts.h"
#include "export/import_record.h"
#include "export/loss_report.h"
#include "export/reencode.h"
#include "files/file_io.h"
#include "files/paths.h"
#include "files/temp_files.h"

namespace qb {

namespace {

// The message of the first check that fails, or nothing.
std::optional<std::u16string> FailedCheck(const ExportSettings& s) {
    if (TrimSpaces(s.fileName).empty()) {
        return u"出力用のファイル名を指定してください！";
    }
    if (s.publishStatus == PublishStatus::NotChosen) {
        return u"公開の種類を指定してください！";
    }
    if (s.categoryRule == CategoryRule::NotChosen) {
        return u"カテゴリを指定してください！";
    }
    if (s.publishStatus == PublishStatus::Future && s.dayStep == DayStep::NotChosen) {
        return u"日付の差分を選んでください！";
    }
    return std::nullopt;
}

// The output folder with a separator at its end. An empty path names no folder.
std::u16string OutputFolderOf(const ExportSettings& s) {
    if (s.outputFolder.empty()) {
        throw RunError(err::kPathNotFound, "no output folder");
    }
    return WithTrailingSeparator(s.outputFolder);
}

// Whether one of the articles is the file at path: before the file exists, the same path
// once normalised (links of the folders that exist followed); once it exists, the same
// file by any name.
bool IsListedArticle(const std::filesystem::path& path, const std::vector<ListedArticle>& articles) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::exists(path, ec)) {
        return std::any_of(articles.begin(), articles.end(), [&](const ListedArticle& article) {
            std::error_code e;
            return fs::equivalent(path, ToPath(article.path), e);
        });
    }
    const fs::path normal = fs::weakly_canonical(path, ec);
    if (ec) {
        return false;
    }
    // An article that exists cannot share the path of a file that does not: only a missing
    // one of the same name can.
    return std::any_of(articles.begin(), articles.end(), [&](const ListedArticle& listed) {
        const fs::path article = ToPath(listed.path);
        std::error_code e;
        return article.filename() == path.filename() && fs::weakly_canonical(article, e) == normal;
    });
}

// The run reads every article after its output is created: an article that is the output
// would be read while it grows, or lost.
void RefuseAListedArticle(const std::filesystem::path& path, const std::vector<ListedArticle>& articles) {
    if (IsListedArticle(path, articles)) {
        throw RunError(err::kPathFileAccess, "the import file is a listed article");
    }
}

// What a failed run had written is kept beside the import file, unless that name is
// one of the articles.
void KeepPartial(ReplacementFile& firstPass, const std::filesystem::path& importPath,
                 const std::vector<ListedArticle>& articles) {
    std::filesystem::path partial = importPath;
    partial += ".partial";
    if (!IsListedArticle(partial, articles)) {
        firstPass.KeepAs(partial);
    }
}

// What the records showed while they were written: the losses to report on success, and
// the first character without an EUC-JP code, to say where failure 6 comes from.
struct Findings {
    LossReport losses;
    std::unordered_set<std::u16string> titlesAndDates;
    std::u16string eucGap;
    std::u16string partsReport;  // the files written in parts and those removed

    // What the success message says under its text: the losses, then the parts.
    [[nodiscard]] std::u16string Details() const {
        std::u16string details = losses.Text();
        if (!details.empty() && !partsReport.empty()) {
            details += u"\n\n";
        }
        return details + partsReport;
    }

    // After the record of listed: title (as held) and the DATE it was written with.
    void Record(const ListedArticle& listed, const LineWriter& lines, const std::u16string& title,
                const std::u16string& date) {
        losses.Add(listed.name, lines.Losses());
        if (!titlesAndDates.insert(title.substr(0, kLineLimit) + u'\n' + date).second) {
            losses.AddRepeat(listed.name);
        }
        if (eucGap.empty() && lines.Gap()) {
            eucGap = EucGapText(listed.name, *lines.Gap());
        }
    }
};

// Writes the record of every listed article, then closes out.
void WriteRecords(ExportRun& run, Findings& found, ImportFile& out) {
    const ExportSettings& s = run.settings;
    for (const ListedArticle& listed : s.articles) {
        run.CurrentPath = listed.path;
        ArticleFile article(run.CurrentPath, s.articleEncoding);
        const ArticleTitle title = ReadTitle(article, run.messages);
        out.Lines().BeginRecord();
        std::u16string date;
        WriteRecord(out, article, {s, listed, title, run.fields}, [&] {
            date = DateText(run.fields);
            if (s.publishStatus == PublishStatus::Future) {
                AdvanceForNextRecord(run.dates, run.fields, s.dayStep, s.timeStep, run.clock);
            }
        });
        found.Record(listed, out.Lines(), title.text, date);
    }
    out.Close();
}

// Writes every record into a new file beside the import file and re-encodes it there,
// or, with limits, into parts. Only a run that gets through all of it puts the new file
// (or its parts, with the report on them in found.partsReport) in place of the import
// file; otherwise an existing import file stays as it was, and what the first pass wrote
// is kept as NAME.txt.partial. Nothing is created before the name, the folder and the
// articles have been checked.
ReencodeResult WriteImportFile(ExportRun& run, Findings& found) {
    const ExportSettings& s = run.settings;
    if (IsBadFileName(s.fileName)) {
        throw RunError(err::kBadFileName, "the file name leaves the output folder");
    }
    run.CurrentPath = OutputFolderOf(s) + s.fileName + u".txt";
    const std::filesystem::path importPath = ToPath(run.CurrentPath);
    CheckOutputFolder(importPath.parent_path());
    RefuseAListedArticle(importPath, s.articles);
    RemoveStaleTempFiles(importPath.parent_path());

    ReplacementFile firstPass(importPath);
    RefuseAListedArticle(firstPass.Path(), s.articles);
    firstPass.Close();  // written by name through the import file's own stream
    const LineRules rules{s.outputEncoding, s.lineEnds, s.platformChars};
    std::optional<PartsWriter> parts;
    if (s.split != SplitLimits{}) {
        parts.emplace(firstPass.Path(), s.split);
    }
    // In Shift_JIS with CR LF (and with no encoding chosen) the first pass is the finished
    // file: in parts, its bytes go straight into them.
    const bool finishedAsWritten = s.outputEncoding == OutputEncoding::NotChosen ||
                                   (s.outputEncoding == OutputEncoding::ShiftJis && s.lineEnds == LineEnds::CrLf);
    const bool straightIntoParts = parts && finishedAsWritten;
    try {
        if (straightIntoParts) {
            ImportFile out(*parts, rules);
            WriteRecords(run, found, out);
        } else {
            ImportFile out(firstPass.Path(), rules);
            WriteRecords(run, found, out);
        }
        const auto isArticle = [&](const std::filesystem::path& path) { return IsListedArticle(path, s.articles); };
        ReencodeResult result = ReencodeResult::Done;
        WrittenParts written;
        if (!parts) {
            result = ReencodeOutputFile(firstPass.Path(), s.outputEncoding, s.lineEnds);
            if (result == ReencodeResult::Done) {
                written = PutImportFileInPlace(firstPass, importPath, s.articles, isArticle);
            }
        } else {
            // The parts are written as the first pass is re-encoded; the first pass stays
            // whole, to be kept if the run fails.
            if (!straightIntoParts) {
                result = ReencodeInto(firstPass.Path(), s.outputEncoding, s.lineEnds, *parts);
            }
            if (result == ReencodeResult::Done) {
                written = PutPartsInPlace(*parts, importPath, s.articles, isArticle);
            }
        }
        if (result == ReencodeResult::Done) {
            found.partsReport = PartsReport(written, s.split);
        } else {
            KeepPartial(firstPass, importPath, s.articles);
        }
        return result;
    } catch (...) {
        if (straightIntoParts) {
            parts->WriteWholeTo(firstPass.Path());  // the first pass, from its parts
        }
        KeepPartial(firstPass, importPath, s.articles);
        throw;
    }
}

ExportResult Finish(const ExportRun& run, ExportOutcome outcome) {
    ExportResult result;
    result.outcome = outcome;
    result.dateFields = run.fields;
    return result;
}

ExportResult Fail(ExportRun& run, int number, const std::u16string& details = {}) {
    run.messages.Show(WriteFailedMessage(number), MessageIcon::None, kAppTitle, details);
    ExportResult result = Finish(run, ExportOutcome::Failed);
    result.listsCleared = true;
    return result;
}

}  // namespace

ExportRun::ExportRun(const ExportSettings& settings, StartDates& dates, MessageSink& messages, Clock& clock)
    : settings(settings), dates(dates), messages(messages), clock(clock), fields(settings.startDate) {}

ExportResult RunExport(ExportRun& run) {
    if (const auto message = FailedCheck(run.settings)) {
        run.messages.Show(*message);
        return Finish(run, ExportOutcome::Refused);
    }
    Findings found;
    try {
        if (WriteImportFile(run, found) == ReencodeResult::Utf8Failed) {
            run.messages.Show(u"UTF-8 への変換に失敗しました。", MessageIcon::Exclamation, kAppTitle);
            return Finish(run, ExportOutcome::Utf8Failed);
        }
        run.messages.Show(u"書き込み正常終了", MessageIcon::None, kAppTitle, found.Details());
        ResetStartDateToNow(run.dates, run.fields, run.clock);
        ExportResult result = Finish(run, ExportOutcome::Succeeded);
        result.listsCleared = true;
        result.fileNameCleared = true;
        return result;
    } catch (const CounterUnavailable&) {
        run.messages.Show(u"現在の環境では使用できません", MessageIcon::Critical, kCounterFailureCaption);
        return Finish(run, ExportOutcome::ProgramMustEnd);
    } catch (const RunError& e) {
        // The EUC-JP conversion fails with 6 on the character noted while writing.
        const bool eucFailure = run.settings.outputEncoding == OutputEncoding::EucJp && e.Number() == err::kOverflow;
        return Fail(run, e.Number(), eucFailure ? found.eucGap : std::u16string{});
    } catch (const std::system_error& e) {  // std::filesystem errors among them
        return Fail(run, ErrorNumberFromErrorCode(e.code()));
    } catch (const std::bad_alloc&) {
        return Fail(run, err::kOutOfMemory);
    } catch (const std::exception&) {
        return Fail(run, err::kInternalError);
    }
}

ExportResult RunExport(const ExportSettings& settings, StartDates& dates, MessageSink& messages, Clock& clock) {
    ExportRun run(settings, dates, messages, clock);
    return RunExport(run);
}

}  // namespace qb
