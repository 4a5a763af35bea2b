#include "export/export_run.h"

#include <algorithm>
#include <filesystem>
#include <new>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "common/run_error.h"
#include "encoding/unicode.h"
#include "export/article.h"
#include "export/entry_dates.h"
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

// Creating the import file empties it: when it is one of the listed articles, that
// article would be lost before it is read.
void RefuseToOverwriteAnArticle(const std::filesystem::path& importPath, const std::vector<std::u16string>& articles) {
    std::error_code ec;
    if (!std::filesystem::exists(importPath, ec)) {
        return;
    }
    if (std::any_of(articles.begin(), articles.end(), [&](const std::u16string& article) {
            return std::filesystem::equivalent(importPath, ToPath(article), ec);
        })) {
        throw RunError(err::kPathFileAccess, "the import file is a listed article");
    }
}

// Writes every record and re-encodes the file. Files are closed when this returns or
// throws: what was written before a failure stays in the import file.
ReencodeResult WriteImportFile(Module1& module, WindowModel& window, MessageSink& messages, Clock& clock,
                               const ExportOptions& options) {
    module.OutputFolder = OutputFolderOf(window);
    module.CurrentPath = module.OutputFolder + window.Text7 + u".txt";
    const std::filesystem::path importPath = ToPath(module.CurrentPath);
    RefuseToOverwriteAnArticle(importPath, window.List2);
    {
        ImportFile out(importPath);
        RecordWriter writer{module, window, messages, clock, out};
        module.ArticleCount = window.List2.size();
        for (std::size_t i = 0; i < module.ArticleCount; ++i) {
            module.CurrentPath = window.List2.at(i);
            ArticleFile article(module.CurrentPath, options.articleEncoding);
            WriteRecord(writer, article, i);
        }
        out.Close();
    }
    return ReencodeOutputFile(importPath, EncodingButtons{window.Option12, window.Option13, window.Option14},
                              options.lineEnds);
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
