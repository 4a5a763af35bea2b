#include "cli/cli_options.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <utility>

#include "cli/console.h"
#include "common/unicode.h"
#include "export/choices.h"
#include "files/paths.h"

namespace qb::cli {

namespace {

using Field = std::optional<std::string> Arguments::*;

// The words a flag takes, from the choice's table, and the setting its word sets.
struct Vocabulary {
    bool (*known)(std::string_view word) = nullptr;
    void (*set)(ExportSettings& settings, std::string_view word) = nullptr;
};

template <const auto& Choices, auto Setting>
constexpr Vocabulary WordsOf() {
    return {[](std::string_view word) { return FindWord(Choices, word) != nullptr; },
            [](ExportSettings& settings, std::string_view word) {
                if (const auto* choice = FindWord(Choices, word)) {
                    settings.*Setting = choice->value;
                }
            }};
}

struct ValueOption {
    std::string_view flag;
    Field field;
    Vocabulary words{};  // none: any text
};

// Every flag that takes a value. Those that take a word are checked in this order.
constexpr std::array<ValueOption, 17> kValueOptions{{
    {"--name", &Arguments::name},
    {"--output-dir", &Arguments::outputDir},
    {"--status", &Arguments::status, WordsOf<kPublishStatuses, &ExportSettings::publishStatus>()},
    {"--category", &Arguments::category, WordsOf<kCategoryRules, &ExportSettings::categoryRule>()},
    {"--category-name", &Arguments::categoryName},
    {"--first-line", &Arguments::firstLine, WordsOf<kTitleModes, &ExportSettings::titleMode>()},
    {"--breaks", &Arguments::breaks, WordsOf<kKaigyoModes, &ExportSettings::kaigyoMode>()},
    {"--encoding", &Arguments::encoding, WordsOf<kOutputEncodings, &ExportSettings::outputEncoding>()},
    {"--start", &Arguments::start},
    {"--day-step", &Arguments::dayStep, WordsOf<kDaySteps, &ExportSettings::dayStep>()},
    {"--line-ends", &Arguments::lineEnds, WordsOf<kLineEnds, &ExportSettings::lineEnds>()},
    {"--article-encoding", &Arguments::articleEncoding, WordsOf<kArticleEncodings, &ExportSettings::articleEncoding>()},
    {"--time-step", &Arguments::timeStep, WordsOf<kTimeSteps, &ExportSettings::timeStep>()},
    {"--platform-chars", &Arguments::platformChars, WordsOf<kPlatformChars, &ExportSettings::platformChars>()},
    {"--blog", &Arguments::blog},
    {"--split-entries", &Arguments::splitEntries},
    {"--split-size", &Arguments::splitSize},
}};

[[noreturn]] void Refuse(std::string message) { throw UsageError{std::move(message)}; }

// A whole number over 0 in decimal digits, times the power of 1024 its suffix names;
// nothing when the text is anything else or the number does not fit.
std::optional<std::uint64_t> PositiveNumber(std::string_view text, bool suffixed) {
    std::uint64_t unit = 1;
    if (suffixed && !text.empty()) {
        constexpr std::string_view kSuffixes = "KMG";
        if (const auto power = kSuffixes.find(text.back()); power != std::string_view::npos) {
            unit = std::uint64_t{1} << (10 * (power + 1));
            text.remove_suffix(1);
        }
    }
    if (text.empty()) {
        return std::nullopt;
    }
    std::uint64_t n = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (n > (UINT64_MAX - digit) / 10) {
            return std::nullopt;
        }
        n = n * 10 + digit;
    }
    if (n == 0 || n > UINT64_MAX / unit) {
        return std::nullopt;
    }
    return n * unit;
}

void Validate(const Arguments& a) {
    for (const ValueOption& option : kValueOptions) {
        const std::optional<std::string>& value = a.*(option.field);
        if (option.words.known != nullptr && value && !option.words.known(*value)) {
            Refuse("invalid value for " + std::string(option.flag) + ": '" + *value + "'");
        }
    }
    if (a.start) {
        (void)SplitStart(*a.start);
    }
    (void)SplitOf(a);
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
    if (a.categoryName) {
        s.categoryName = Utf8ToUtf16(*a.categoryName);
    }
    s.startDate = now;
    if (a.start) {
        const std::vector<std::u16string> parts = SplitStart(*a.start);
        s.startDate = {parts[0], parts[1], parts[2], parts[3], parts[4]};
    }
    s.split = SplitOf(a);
    // A word not given leaves the setting at its default.
    for (const ValueOption& option : kValueOptions) {
        if (const std::optional<std::string>& value = a.*(option.field); option.words.set != nullptr && value) {
            option.words.set(s, *value);
        }
    }
    return s;
}

SplitLimits SplitOf(const Arguments& a) {
    SplitLimits limits;
    if (a.splitEntries) {
        const auto n = PositiveNumber(*a.splitEntries, false);
        if (!n) {
            Refuse("--split-entries needs a number of entries over 0: '" + *a.splitEntries + "'");
        }
        limits.records = *n;
    }
    if (a.splitSize) {
        const auto n = PositiveNumber(*a.splitSize, true);
        if (!n) {
            Refuse("--split-size needs a number of bytes over 0, or one with K, M or G: '" + *a.splitSize + "'");
        }
        limits.bytes = *n;
    }
    return limits;
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
  --platform-chars keep|reference
                              characters Movable Type's Shift_JIS and EUC-JP import
                              loses (①, ㈱, 髙, emoji...) in titles and bodies: kept
                              (default; "?" where Shift_JIS has none) or written as
                              character references ("&#9312;")
  --blog FOLDER               take every file of every sub-folder of FOLDER
  --split-entries N           at most N entries to a file
  --split-size SIZE           at most SIZE bytes to a file, as written; SIZE is bytes,
                              or a number with K, M or G (powers of 1024). With either,
                              a blog that does not fit one file is written as
                              NAME-1.txt, NAME-2.txt ... (whole entries only); earlier
                              NAME.txt and NAME-<n>.txt files are removed
  --help                      show this text
  --version                   show the version

Exit status: 0 done, 1 an option is missing, 2 the export failed, 64 usage error.
)";
}

}  // namespace qb::cli
