// quillbrook-export: the export of the window, driven from the command line.

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "common/run_error.h"
#include "encoding/unicode.h"
#include "export/blog_folder.h"
#include "export/clock.h"
#include "export/export_run.h"
#include "export/messages.h"
#include "export/module1.h"
#include "export/window_model.h"

namespace {

constexpr int kExitDone = 0;
constexpr int kExitRefused = 1;
constexpr int kExitFailed = 2;
constexpr int kExitUsage = 64;

// The completion message goes to standard output, every other message to standard error.
class ConsoleMessages final : public qb::MessageSink {
public:
    using qb::MessageSink::Show;
    void Show(const std::u16string& text, qb::MessageIcon /*icon*/, const std::u16string& /*caption*/) override {
        std::ostream& stream = text == u"書き込み正常終了" ? std::cout : std::cerr;
        stream << qb::Utf16ToUtf8(text) << '\n' << std::flush;
    }
};

std::u16string AbsolutePath(const std::string& arg) {
    const std::filesystem::path path(arg);  // the bytes as given, UTF-8 or not
    return qb::FromPath(std::filesystem::absolute(path).lexically_normal());
}

std::u16string FileName(const std::u16string& path) {
    const auto slash = path.rfind(qb::kPathSeparator);
    return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

int Run(const qb::cli::Arguments& args) {
    qb::Module1 module;
    qb::WindowModel window;
    qb::SystemClock clock;
    ConsoleMessages messages;
    qb::ExportOptions options;

    qb::InitialState(module, window, clock);
    qb::cli::Apply(args, module, window, options);

    std::u16string outputDir = AbsolutePath(args.outputDir.value_or("."));
    while (outputDir.size() > 1 && outputDir.back() == qb::kPathSeparator) {
        outputDir.pop_back();  // "lexically_normal" keeps a trailing separator
    }
    window.Dir2Path = outputDir;

    if (args.blog) {
        window.Dir1Path = AbsolutePath(*args.blog);
        try {
            qb::FillListsFromBlogFolder(window, window.Dir1Path);
        } catch (const qb::RunError& e) {
            messages.Show(qb::WriteFailedMessage(e.Number()));
            return kExitFailed;
        }
    } else {
        for (const std::string& article : args.articles) {
            std::u16string path = AbsolutePath(article);
            window.List1.push_back(FileName(path));
            window.List2.push_back(std::move(path));
        }
    }

    switch (qb::RunExport(module, window, messages, clock, options)) {
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
    const std::vector<std::string> args(argv + 1, argv + argc);
    qb::cli::Arguments parsed;
    try {
        parsed = qb::cli::Parse(args);
    } catch (const qb::cli::UsageError& e) {
        std::cerr << "quillbrook-export: " << e.message << "\n\n" << qb::cli::UsageText();
        return kExitUsage;
    }
    switch (parsed.action) {
    case qb::cli::Action::Help:
        std::cout << qb::cli::UsageText();
        return kExitDone;
    case qb::cli::Action::Version:
        std::cout << "Quillbrook " QB_VERSION "\n";
        return kExitDone;
    case qb::cli::Action::Export:
        break;
    }
    try {
        return Run(parsed);
    } catch (const std::exception& e) {
        std::cerr << "quillbrook-export: " << e.what() << '\n';
        return kExitFailed;
    }
}
