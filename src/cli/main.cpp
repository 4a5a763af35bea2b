// quillbrook-export: the export, driven from the command line.

#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/console.h"
#include "common/run_error.h"
#include "common/unicode.h"
#include "export/blog_folder.h"
#include "export/clock.h"
#include "export/entry_dates.h"
#include "export/export_run.h"
#include "export/messages.h"
#include "files/paths.h"

namespace {

constexpr int kExitDone = 0;
constexpr int kExitRefused = 1;
constexpr int kExitFailed = 2;
constexpr int kExitUsage = 64;

// The run's last message is its outcome ("書き込み正常終了" or why it ended); it is held
// until the outcome is known, then goes to standard output for a completed run and to
// standard error for any other. A message shown before it (an article that could not be
// read) goes to standard error as soon as the next one comes. What a message says
// beyond its line (a report, where a failure lay) goes to standard error after it, so
// that standard output of a completed run stays "書き込み正常終了" alone.
class ConsoleMessages final : public qb::MessageSink {
public:
    using qb::MessageSink::Show;
    void Show(const std::u16string& text, qb::MessageIcon /*icon*/, const std::u16string& /*caption*/,
              const std::u16string& details) override {
        WriteHeld(qb::cli::Stream::Error);
        held_ = qb::Utf16ToUtf8(text) + '\n';
        heldDetails_ = details.empty() ? std::string() : qb::Utf16ToUtf8(details) + '\n';
    }
    void WriteHeld(qb::cli::Stream stream) {
        if (!held_.empty()) {
            qb::cli::Write(stream, held_);
            held_.clear();
        }
        if (!heldDetails_.empty()) {
            qb::cli::Write(qb::cli::Stream::Error, heldDetails_);
            heldDetails_.clear();
        }
    }

private:
    std::string held_;
    std::string heldDetails_;
};

// The absolute path an argument names, with the platform's separators. A trailing
// separator is dropped ("lexically_normal" keeps one), except from a root such as "/"
// or "C:\", which keeps it.
std::u16string AbsolutePath(const std::string& arg) {
    std::filesystem::path path = std::filesystem::absolute(qb::cli::ArgumentPath(arg)).lexically_normal();
    if (!path.has_filename() && path != path.root_path()) {
        path = path.parent_path();
    }
    return qb::FromPath(path);
}

std::u16string FileName(const std::u16string& path) {
    const auto slash = path.rfind(qb::kPathSeparator);
    return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

int Run(const qb::cli::Arguments& args) {
    qb::SystemClock clock;
    ConsoleMessages messages;
    qb::StartDates dates;
    qb::DateFields now;
    qb::ResetStartDateToNow(dates, now, clock);

    qb::ExportSettings settings = qb::cli::SettingsOf(args, now);
    settings.outputFolder = AbsolutePath(args.outputDir.value_or("."));
    if (args.blog) {
        try {
            settings.articles = qb::BlogFolderArticles(AbsolutePath(*args.blog));
        } catch (const qb::RunError& e) {
            qb::cli::Write(qb::cli::Stream::Error, qb::Utf16ToUtf8(qb::WriteFailedMessage(e.Number())) + '\n');
            return kExitFailed;
        }
    } else {
        for (const std::string& article : args.articles) {
            std::u16string path = AbsolutePath(article);
            settings.articles.push_back({FileName(path), std::move(path)});
        }
    }

    qb::ExportOutcome outcome = qb::ExportOutcome::Failed;
    try {
        outcome = qb::RunExport(settings, dates, messages, clock).outcome;
    } catch (...) {
        messages.WriteHeld(qb::cli::Stream::Error);
        throw;
    }
    messages.WriteHeld(outcome == qb::ExportOutcome::Succeeded ? qb::cli::Stream::Out : qb::cli::Stream::Error);
    switch (outcome) {
    case qb::ExportOutcome::Succeeded:
        return kExitDone;
    case qb::ExportOutcome::Refused:
        return kExitRefused;
    case qb::ExportOutcome::Utf8Failed:
    case qb::ExportOutcome::Failed:
    case qb::ExportOutcome::ProgramMustEnd:
        return kExitFailed;
    }
    return kExitFailed;
}

}  // namespace

int main(int argc, char** argv) {
    using qb::cli::Stream;
    using qb::cli::Write;
    const std::vector<std::string> args = qb::cli::ProgramArguments(argc, argv);
    qb::cli::Arguments parsed;
    try {
        parsed = qb::cli::Parse(args);
    } catch (const qb::cli::UsageError& e) {
        Write(Stream::Error, "quillbrook-export: " + e.message + "\n\n" + qb::cli::UsageText());
        return kExitUsage;
    }
    switch (parsed.action) {
    case qb::cli::Action::Help:
        Write(Stream::Out, qb::cli::UsageText());
        return kExitDone;
    case qb::cli::Action::Version:
        Write(Stream::Out, "Quillbrook " QB_VERSION "\n");
        return kExitDone;
    case qb::cli::Action::Export:
        break;
    }
    try {
        return Run(parsed);
    } catch (const std::exception& e) {
        Write(Stream::Error, std::string("quillbrook-export: ") + e.what() + '\n');
        return kExitFailed;
    }
}
