#include "cli/cli_options.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <initializer_list>
#include <optional>
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

// The time step a --time-step value names: none, random, 30m, 1h..12h.
std::optional<TimeStep> TimeStepOf(const std::string& value) {
    if (value == "none") {
        return TimeStep{};
    }
    if (value == "random") {
        return TimeStep{TimeStep::Kind::Random, 0};
    }
    if (value == "30m") {
        return TimeStep{TimeStep::Kind::HalfHour, 0};
    }
    for (int hours = 1; hours <= 12; ++hours) {
        if (value == std::to_string(hours) + "h") {
            return TimeStep{TimeStep::Kind::Hours, hours};
        }
    }
    return std::nullopt;
}

// The value of the chosen word among words, each standing for its value.
template <typename T>
T Pick(const std::optional<std::string>& given, T unset, std::initializer_list<std::pair<std::string_view, T>> words) {
    if (given) {
        for (const auto& [word, value] : words) {
            if (*given == word) {
                return value;
            }
        }
    }
    return unset;
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
    if (a.timeStep && !TimeStepOf(*a.timeStep)) {
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

ExportSettings SettingsOf(const Arguments& a, const DateFields& now) {
    ExportSettings s;
    // A file name: its bytes are kept even where they are not UTF-8.
    s.fileName = a.name ? FromPath(ArgumentPath(*a.name)) : std::u16string();
    s.publishStatus =
        Pick(a.status, PublishStatus::NotChosen,
             {{"future", PublishStatus::Future}, {"publish", PublishStatus::Publish}, {"draft", PublishStatus::Draft}});
    s.categoryRule = Pick(a.category, CategoryRule::NotChosen,
                          {{"folder", CategoryRule::FolderName},
                           {"title", CategoryRule::Title},
                           {"name", CategoryRule::GivenName},
                           {"file", CategoryRule::FileName}});
    if (a.categoryName) {
        s.categoryName = Utf8ToUtf16(*a.categoryName);
    }
    s.titleMode = Pick(a.firstLine, TitleMode::TitleOnly, {{"title-and-body", TitleMode::TitleAndBody}});
    s.kaigyoMode = Pick(a.breaks, KaigyoMode::Keep, {{"br", KaigyoMode::Br}});
    s.outputEncoding = Pick(
        a.encoding, OutputEncoding::Utf8,
        {{"euc-jp", OutputEncoding::EucJp}, {"utf-8", OutputEncoding::Utf8}, {"shift_jis", OutputEncoding::ShiftJis}});
    s.startDate = now;
    if (a.start) {
        const std::vector<std::u16string> parts = SplitStart(*a.start);
        s.startDate = {parts[0], parts[1], parts[2], parts[3], parts[4]};
    }
    s.dayStep =
        Pick(a.dayStep, DayStep::NotChosen,
             {{"0", DayStep::SameDay}, {"1", DayStep::OneDay}, {"2", DayStep::TwoDays}, {"3", DayStep::ThreeDays}});
    if (a.timeStep) {
        s.timeStep = TimeStepOf(*a.timeStep).value_or(TimeStep{});
    }
    s.lineEnds = Pick(a.lineEnds, LineEnds::CrLf, {{"lf", LineEnds::Lf}});
    s.articleEncoding = Pick(a.articleEncoding, ArticleEncoding::Auto,
                             {{"shift_jis", ArticleEncoding::ShiftJis}, {"utf-8", ArticleEncoding::Utf8}});
    return s;
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
