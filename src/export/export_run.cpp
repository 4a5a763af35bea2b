#include "export/export_run.h"

#include <algorithm>
#include <filesystem>
#include <new>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "common/run_error.h"
#include "files/file_io.h"
#include "files/temp_files.h"
#include "files/paths.h"
#include "export/article.h"
#include "export/entry_dates.h"
#include "export/file_name.h"
#include "export/import_file.h"
#include "export/import_record.h"

namespace qb {

namespace {

// The message of the first check that fails, or nothing.
std::optional<std::u16string> FailedCheck(const WindowModel& w) {
    if (TrimSpaces(w.Text7).empty()) {
        return u"出力用のファイル名を指定してください！";
    }
    if (!w.Option1 && !w.Option2 && !w.Option3) {
        return u"公開の種類を指定してください！";
    }
    if (!w.Option7 && !w.Option8 && !w.Option10 && !w.Option11) {
        return u"カテゴリを指定してください！";
    }
    if (w.Option1 && !w.Option4 && !w.Option5 && !w.Option6 && !w.Option9) {
        return u"日付の差分を選んでください！";
    }
    return std::nullopt;
}

// Dir2's path with a separator at its end. An empty path names no folder.
std::u16string OutputFolderOf(const WindowModel& w) {
    if (w.Dir2Path.empty()) {
        throw RunError(err::kPathNotFound, "no output folder");
    }
    return WithTrailingSeparator(w.Dir2Path);
}

int NumberOf(const std::system_error& e) {
    if (e.code().category() == std::generic_category() || e.code().category() == std::system_category()) {
        return ErrorNumberFromErrno(e.code().value());
    }
    return err::kPathFileAccess;
}

// Whether one of the articles is the file at path: before the file exists, the same path
// once normalised (links of the folders that exist followed); once it exists, the same
// file by any name.
bool IsListedArticle(const std::filesystem::path& path, const std::vector<std::u16string>& articles) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::exists(path, ec)) {
        return std::any_of(articles.begin(), articles.end(), [&](const std::u16string& article) {
            std::error_code e;
            return fs::equivalent(path, ToPath(article), e);
        });
    }
    const fs::path normal = fs::weakly_canonical(path, ec);
    if (ec) {
        return false;
    }
    // An article that exists cannot share the path of a file that does not: only a missing
    // one of the same name can.
    return std::any_of(articles.begin(), articles.end(), [&](const std::u16string& text) {
        const fs::path article = ToPath(text);
        std::error_code e;
        return article.filename() == path.filename() && fs::weakly_canonical(article, e) == normal;
    });
}

// The run reads every article after its output is created: an article that is the output
// would be read while it grows, or lost.
void RefuseAListedArticle(const std::filesystem::path& path, const std::vector<std::u16string>& articles) {
    if (IsListedArticle(path, articles)) {
        throw RunError(err::kPathFileAccess, "the import file is a listed article");
    }
}

// What a failed run had written is kept beside the import file, unless that name is
// one of the articles.
void KeepPartial(ReplacementFile& firstPass, const std::filesystem::path& importPath,
                 const std::vector<std::u16string>& articles) {
    std::filesystem::path partial = importPath;
    partial += ".partial";
    if (!IsListedArticle(partial, articles)) {
        firstPass.KeepAs(partial);
    }
}

// Writes every record into a new file beside the import file and re-encodes it there.
// Only a run that gets through all of it puts the new file in place of the import file;
// otherwise an existing import file stays as it was, and what was written is kept as
// NAME.txt.partial. Nothing is created before the name, the folder and the articles
// have been checked.
ReencodeResult WriteImportFile(Module1& module, WindowModel& window, MessageSink& messages, Clock& clock,
                               const ExportOptions& options) {
    if (IsBadFileName(window.Text7)) {
        throw RunError(err::kBadFileName, "the file name leaves the output folder");
    }
    module.OutputFolder = OutputFolderOf(window);
    module.CurrentPath = module.OutputFolder + window.Text7 + u".txt";
    const std::filesystem::path importPath = ToPath(module.CurrentPath);
    CheckOutputFolder(importPath.parent_path());
    RefuseAListedArticle(importPath, window.List2);
    RemoveStaleTempFiles(importPath.parent_path());

    ReplacementFile firstPass(importPath);
    RefuseAListedArticle(firstPass.Path(), window.List2);
    firstPass.Close();  // written by name through the import file's own stream
    try {
        {
            ImportFile out(firstPass.Path());
            RecordWriter writer{module, window, messages, clock, out};
            module.ArticleCount = window.List2.size();
            for (std::size_t i = 0; i < module.ArticleCount; ++i) {
                module.CurrentPath = window.List2.at(i);
                ArticleFile article(module.CurrentPath, options.articleEncoding);
                WriteRecord(writer, article, i);
            }
            out.Close();
        }
        const ReencodeResult result = ReencodeOutputFile(
            firstPass.Path(), EncodingButtons{window.Option12, window.Option13, window.Option14}, options.lineEnds);
        if (result == ReencodeResult::Done) {
            firstPass.Commit();
        } else {
            KeepPartial(firstPass, importPath, window.List2);
        }
        return result;
    } catch (...) {
        KeepPartial(firstPass, importPath, window.List2);
        throw;
    }
}

ExportOutcome Fail(WindowModel& window, MessageSink& messages, int number) {
    messages.Show(WriteFailedMessage(number));
    window.List1.clear();
    window.List2.clear();
    return ExportOutcome::Failed;
}

}  // namespace

ExportOutcome RunExport(Module1& module, WindowModel& window, MessageSink& messages, Clock& clock,
                        const ExportOptions& options) {
    if (const auto message = FailedCheck(window)) {
        messages.Show(*message);
        return ExportOutcome::Refused;
    }
    try {
        if (WriteImportFile(module, window, messages, clock, options) == ReencodeResult::Utf8Failed) {
            messages.Show(u"UTF-8 への変換に失敗しました。", MessageIcon::Exclamation, kAppTitle);
            return ExportOutcome::Utf8Failed;
        }
        messages.Show(u"書き込み正常終了");
        window.List1.clear();
        window.List2.clear();
        ResetStartDateToNow(module, window, clock);
        window.Text7.clear();
        return ExportOutcome::Succeeded;
    } catch (const CounterUnavailable&) {
        messages.Show(u"現在の環境では使用できません", MessageIcon::Critical, u"Ranking");
        return ExportOutcome::ProgramMustEnd;
    } catch (const RunError& e) {
        return Fail(window, messages, e.Number());
    } catch (const std::system_error& e) {  // std::filesystem errors among them
        return Fail(window, messages, NumberOf(e));
    } catch (const std::bad_alloc&) {
        return Fail(window, messages, err::kOutOfMemory);
    } catch (const std::exception&) {
        return Fail(window, messages, err::kInternalError);
    }
}

}  // namespace qb
