#pragma once
// What one export is asked to do: every choice as a value, the start-date fields as
// typed, where the import file goes and which articles it holds. The window and the
// command-line exporter each build one of these; the engine reads nothing else.

#include <cstdint>
#include <string>
#include <vector>

#include "encoding/article_encoding.h"

namespace qb {

// Future dates the entries from the start date, moving it on entry by entry; Publish and
// Draft give every entry the start date as typed. NotChosen: the run refuses with
// "公開の種類を指定してください！".
enum class PublishStatus { NotChosen, Future, Publish, Draft };

// Days between Future entries. NotChosen there: "日付の差分を選んでください！".
enum class DayStep { NotChosen, SameDay, OneDay, TwoDays, ThreeDays };

// The time of day moved after the day step. Unchanged still writes the date back in its
// full form; Hours moves it by `hours` (1 to 12).
struct TimeStep {
    enum class Kind { Unchanged, Random, HalfHour, Hours };
    Kind kind = Kind::Unchanged;
    int hours = 0;
};

// What a record's PRIMARY CATEGORY holds. NotChosen: "カテゴリを指定してください！".
enum class CategoryRule { NotChosen, FolderName, Title, GivenName, FileName };

// The first line is the title only, or the title and also the body's first line.
enum class TitleMode : std::int16_t { TitleOnly = 0, TitleAndBody = 1 };

// Line breaks of the body kept as they are, or each written as "<BR>".
enum class KaigyoMode : std::int16_t { Keep = 0, Br = 1 };

// NotChosen: the first pass is read back and dropped, so the file stays Shift_JIS.
enum class OutputEncoding { NotChosen, ShiftJis, EucJp, Utf8 };

enum class LineEnds { CrLf, Lf };  // LF for importers on Unix servers

// What becomes of the characters that Movable Type's Shift_JIS and EUC-JP import loses,
// in titles and bodies: those code page 932 holds only beyond JIS X 0208 (NEC's special
// characters, the NEC-selected and IBM extensions, the user-defined area) and those it
// cannot hold at all. Keep writes the first as they are and the second as "?"; Reference
// writes both as decimal character references ("&#9312;").
enum class PlatformChars { Keep, Reference };

// The import file in parts: at most `records` records and at most `bytes` bytes (as
// written) to a file; 0 for no limit.
struct SplitLimits {
    std::uint64_t records = 0;
    std::uint64_t bytes = 0;

    bool operator==(const SplitLimits&) const = default;
};

// The five start-date fields exactly as typed, blanks and odd text included.
struct DateFields {
    std::u16string year, month, day, hour, minute;

    bool operator==(const DateFields&) const = default;
};

// One article of the list: the name shown, and the full path read.
struct ListedArticle {
    std::u16string name;
    std::u16string path;
};

struct ExportSettings {
    PublishStatus publishStatus = PublishStatus::NotChosen;
    DayStep dayStep = DayStep::NotChosen;
    TimeStep timeStep;
    CategoryRule categoryRule = CategoryRule::NotChosen;
    std::u16string categoryName;  // for CategoryRule::GivenName
    TitleMode titleMode = TitleMode::TitleOnly;
    KaigyoMode kaigyoMode = KaigyoMode::Keep;
    OutputEncoding outputEncoding = OutputEncoding::Utf8;
    LineEnds lineEnds = LineEnds::CrLf;
    ArticleEncoding articleEncoding = ArticleEncoding::Auto;
    PlatformChars platformChars = PlatformChars::Keep;
    SplitLimits split;
    DateFields startDate;
    std::u16string outputFolder;  // empty: no folder chosen
    std::u16string fileName;      // without ".txt"
    std::vector<ListedArticle> articles;
};

}  // namespace qb
