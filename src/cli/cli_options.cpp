#include "cli/cli_options.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <string_view>
#include <utility>

#include "cli/console.h"
#include "common/unicode.h"
#include "files/paths.h"

namespace qb::cli {

namespace {

using Field = std::optional<std::string> Arguments::*;

struct ValueOption {
    std::string_view flag;
    Field field;
};

constexpr std::array<ValueOption, 14> kValueOptions{{
    {"--name", &Arguments::name},
    {"--output-dir", &Arguments::outputDir},
    {"--status", &Arguments::status},
    {"--category", &Arguments::category},
    {"--category-name", &Arguments::categoryName},
    {"--first-line", &Arguments::firstLine},
    {"--breaks", &Arguments::breaks},
    {"--encoding", &Arguments::encoding},
    {"--start", &Arguments::start},
    {"--day-step", &Arguments::dayStep},
    {"--time-step", &Arguments::timeStep},
    {"--line-ends", &Arguments::lineEnds},
    {"--article-encoding", &Arguments::articleEncoding},
    {"--blog", &Arguments::blog},
}};

[[noreturn]] void Refuse(std::string message) { throw UsageError{std::move(message)}; }

void RequireOneOf(const std::optional<std::string>& value, std::string_view flag,
                  std::initializer_list<std::string_view> allowed) {
    if (!value) {
        return;
    }
    if (std::any_of(allowed.begin(), allowed.end(), [&](std::string_view a) { return *value == a; })) {
        return;
    }
    Refuse("invalid value for " + std::string(flag) + ": '" + *value + "'");
}

// Combo1's index for a --time-step value: none 0, random 1, 30m 2, 1h..12h 3..14.
std::optional<int> TimeStepIndex(const std::string& value) {
    if (value == "none") {
        return 0;
    }
    if (value == "random") {
        return 1;
    }
    if (value == "30m") {
        return 2;
    }
    for (int hours = 1; hours <= 12; ++hours) {
        if (value == std::to_string(hours) + "h") {
            return hours + 2;
        }
    }
    return std::nullopt;
}

void Validate(const Arguments& a) {
    RequireOneOf(a.status, "--status", {"future", "publish", "draft"});
    RequireOneOf(a.category, "--category", {"folder", "title", "name", "file"});
    RequireOneOf(a.firstLine, "--first-line", {"title", "title-and-body"});
    RequireOneOf(a.breaks, "--breaks", {"none", "br"});
    RequireOneOf(a.encoding, "--encoding", {"utf-8", "euc-jp", "shift_jis"});
    RequireOneOf(a.dayStep, "--day-step", {"0", "1", "2", "3"});
    RequireOneOf(a.lineEnds, "--line-ends", {"crlf", "lf"});
    RequireOneOf(a.articleEncoding, "--article-encoding", {"auto", "shift_jis", "utf-8"});
    if (a.timeStep && !TimeStepIndex(*a.timeStep)) {
        Refuse("invalid value for --time-step: '" + *a.timeStep + "'");
    }
    if (a.start) {
        (void)SplitStart(*a.start);
    }
    if (a.outputDir && a.outputDir->empty()) {
        Refuse("--output-dir needs a folder");
    }
    if (a.blog && a.blog->empty()) {
        Refuse("--blog needs a folder");
    }
    if (a.blog && !a.articles.empty()) {
        Refuse("give either articles or --blog, not both");
    }
    if (!a.blog && a.articles.empty()) {
        Refuse("no articles given (ARTICLE... or --blog FOLDER)");
    }
}

}  // namespace

Arguments Parse(const std::vector<std::string>& args) {
    Arguments result;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.empty() || arg.front() != '-' || arg == "-") {
            result.articles.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            result.action = Action::Help;
            return result;
        }
        if (arg == "--version") {
            result.action = Action::Version;
            return result;
        }
        const auto eq = arg.find('=');
        const std::string_view flag = std::string_view(arg).substr(0, eq);
        const auto option = std::find_if(kValueOptions.begin(), kValueOptions.end(),
                                         [&](const ValueOption& candidate) { return candidate.flag == flag; });
        if (option == kValueOptions.end()) {
            Refuse("unknown option: " + std::string(flag));
        }
        std::string value;
        if (eq != std::string::npos) {
            value = arg.substr(eq + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            Refuse(std::string(flag) + " needs a value");
        }
        if (result.*(option->field)) {
            Refuse(std::string(flag) + " given twice");
        }
        result.*(option->field) = std::move(value);
    }
    Validate(result);
    return result;
}

std::vector<std::u16string> SplitStart(const std::string& text) {
    std::vector<std::u16string> parts(1);
    const std::u16string wide = Utf8ToUtf16(text);
    for (const char16_t c : wide) {
        if (c == u'/' || c == u' ' || c == u':') {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    if (parts.size() != 5) {
        Refuse("--start needs \"YYYY/MM/DD hh:mm\": '" + text + "'");
    }
    for (const std::u16string& part : parts) {
        if (part.empty()) {
            Refuse("--start needs \"YYYY/MM/DD hh:mm\": '" + text + "'");
        }
    }
    return parts;
}

void Apply(const Arguments& a, Module1& module, WindowModel& w, ExportOptions& options) {
    // A file name: its bytes are kept even where they are not UTF-8.
    w.Text7 = a.name ? FromPath(ArgumentPath(*a.name)) : std::u16string();
    if (a.status) {
        w.Option1 = *a.status == "future";
        w.Option2 = *a.status == "publish";
        w.Option3 = *a.status == "draft";
        w.Frame2Caption = Frame2CaptionFor(w.Option1);
    }
    if (a.category) {
        w.Option7 = *a.category == "folder";
        w.Option8 = *a.category == "title";
        w.Option10 = *a.category == "name";
        w.Option11 = *a.category == "file";
        if (!w.Option11) {
            w.Text8Enabled = w.Option10;
        }
    }
    if (a.categoryName) {
        w.Text8 = Utf8ToUtf16(*a.categoryName);
    }
    module.TitleMode = a.firstLine && *a.firstLine == "title-and-body" ? 1 : 0;
    module.KaigyoMode = a.breaks && *a.breaks == "br" ? 1 : 0;
    if (a.encoding) {
        w.Option12 = *a.encoding == "euc-jp";
        w.Option13 = *a.encoding == "utf-8";
        w.Option14 = *a.encoding == "shift_jis";
    }
    if (a.start) {
        const std::vector<std::u16string> parts = SplitStart(*a.start);
        w.Text1 = parts[0];
        w.Text2 = parts[1];
        w.Text3 = parts[2];
        w.Text4 = parts[3];
        w.Text5 = parts[4];
    }
    if (a.dayStep) {
        w.Option9 = *a.dayStep == "0";
        w.Option4 = *a.dayStep == "1";
        w.Option5 = *a.dayStep == "2";
        w.Option6 = *a.dayStep == "3";
    }
    if (a.timeStep) {
        w.Combo1ListIndex = TimeStepIndex(*a.timeStep).value_or(0);
    }
    options.lineEnds = a.lineEnds && *a.lineEnds == "lf" ? LineEnds::Lf : LineEnds::CrLf;
    options.articleEncoding = ArticleEncoding::Auto;
    if (a.articleEncoding) {
        if (*a.articleEncoding == "shift_jis") {
            options.articleEncoding = ArticleEncoding::ShiftJis;
        } else if (*a.articleEncoding == "utf-8") {
            options.articleEncoding = ArticleEncoding::Utf8;
        }
    }
}

const char* UsageText() {
    return R"(Usage: quillbrook-export --name NAME [options] (ARTICLE... | --blog FOLDER)

Turns articles (one per file, first non-blank line = title) into one MovableType
import file NAME.txt. Articles may be Shift_JIS or UTF-8, with any line ends.

  --name NAME                 import file name without ".txt" (blanks kept)
  --output-dir DIR            folder of the import file (default: current folder)
  --status future|publish|draft
                              publish status; future dates the entries from --start
  --category folder|title|name|file
                              category: article's folder, title, --category-name,
                              or file name without its last 4 characters
  --category-name TEXT        category for --category name
  --first-line title|title-and-body
                              first line is the title only (default) or also body
  --breaks none|br            line breaks kept as they are (default) or "<BR>"
  --encoding utf-8|euc-jp|shift_jis
                              output encoding (default utf-8)
  --start "YYYY/MM/DD hh:mm"  start date (default: now)
  --day-step 0|1|2|3          days between entries (needed with --status future)
  --time-step none|random|30m|1h|2h|...|12h
                              time step after the day step (default none)
  --line-ends crlf|lf         line ends of the import file (default crlf);
                              Movable Type on a Unix server reads LF line ends
  --article-encoding auto|shift_jis|utf-8
                              how articles are read (default auto: UTF-8 when an
                              article starts with a byte-order mark, or is valid
                              UTF-8 beyond ASCII; Shift_JIS otherwise)
  --blog FOLDER               take every file of every sub-folder of FOLDER
  --help                      show this text
  --version                   show the version

Exit status: 0 done, 1 an option is missing, 2 the export failed, 64 usage error.
)";
}

}  // namespace qb::cli
