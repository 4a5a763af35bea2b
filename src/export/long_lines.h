#pragma once
// The lines of the import file as they are written: every line fits the line readers of
// the importers, and the characters Movable Type's Shift_JIS and EUC-JP import loses can
// be written as character references.
//
// WordPress's Movable Type importer reads a line in pieces of at most 8,191 bytes and
// drops a post whose line it cuts inside a character. So no line of the import file is
// longer than kLineLimit bytes, its line end included, counted as the file is finally
// written (Shift_JIS, EUC-JP or UTF-8, CR LF or LF). A body line that would be longer is
// written in pieces: a piece ends with "<wbr", a line end, and the next begins with ">".
// The line end then stands inside a tag, where HTML and WordPress's line-break filter
// take it as white space, and <wbr> changes nothing a reader sees. A break never falls
// inside a character, a character reference or a tag; it falls, where it can, just after
// "。", "、", "！", "？", "」" or a blank near the end of the limit. A tag longer than the
// limit by itself is broken at a blank inside it (a plain line end there); one without
// such a blank is written whole. A title that would pass the limit is cut to fit.
//
// The writer produces the first pass in code page 932 with CR LF line ends; the widths
// it counts are those of the bytes the re-encoding makes of it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "export/export_settings.h"

namespace qb {

inline constexpr std::size_t kLineLimit = 8000;

enum class LineKind {
    Plain,       // written as it comes: labels, dates, category values
    Title,       // the title: characters as the platform-character choice says; cut to fit
    TitleValue,  // the category taken from the title: cut to fit, characters as they are
    Body,        // a body line: characters as the choice says; written in pieces
};

struct LineRules {
    OutputEncoding encoding = OutputEncoding::Utf8;
    LineEnds lineEnds = LineEnds::CrLf;
    PlatformChars platformChars = PlatformChars::Keep;
    std::size_t limit = kLineLimit;
};

// What the lines of one record lose in an importer.
struct LineLosses {
    std::uint64_t questionMarks = 0;  // characters written as "?"
    bool titleCut = false;
    std::uint64_t tagsWhole = 0;  // tags longer than the limit, without a blank to break at
};

// A character that has no EUC-JP code (the re-encoding to EUC-JP fails on it), where it
// was first written in a record.
struct EucGap {
    char32_t character = 0;
    LineKind kind = LineKind::Plain;
    std::uint64_t bodyLine = 0;  // of the record's body, from 1; 0 outside the body
};

class LineWriter {
public:
    explicit LineWriter(const LineRules& rules);

    // Starts counting a new record's losses, body lines and EUC-JP gap.
    void BeginRecord();
    // The kind of the line about to be written; a line is Plain unless it says otherwise.
    void BeginLine(LineKind kind);
    // Appends the code page 932 bytes of the line's next piece to out. A body line is
    // held back in memory up to one limit's worth, until it is plain where it breaks.
    void Feed(std::u16string_view text, std::string& out);
    // Ends the line with CR LF.
    void EndLine(std::string& out);

    [[nodiscard]] const LineLosses& Losses() const { return losses_; }
    [[nodiscard]] const std::optional<EucGap>& Gap() const { return gap_; }

private:
    enum class Scan : std::uint8_t { Text, Lt, Tag, TagQuote, Amp, Entity };
    struct Break {
        std::size_t offset = 0;  // in line_
        std::size_t bytes = 0;   // as written, before the offset
    };

    void FeedBody(std::u16string_view text);
    void FeedEach(std::u16string_view text);
    void Character(char32_t c, std::uint16_t code);
    void Put(std::string_view bytes);
    void BodyCharacter(char32_t c, std::string_view bytes, std::size_t width);
    void NoteBreaks(char32_t c);
    bool BreakBody();
    void BreakAt(const Break& at, bool inTag);

    LineRules rules_;
    std::size_t eolWidth_;
    unsigned widthShift_;
    const std::uint16_t* codes_;         // code page 932 bytes of each code unit
    const std::uint8_t* info_;           // widths and flags of each code unit
    std::vector<std::uint32_t> simple_;  // a body character's bytes and width; 0: to be looked at
    std::string* out_ = nullptr;         // the output of the piece being fed
    LineKind kind_ = LineKind::Plain;
    std::size_t lineBytes_ = 0;  // of the current line (or piece of it), as written
    bool cut_ = false;           // a title past the limit: the rest is dropped
    char16_t highSurrogate_ = 0;

    // A body line: the piece being written, held back, and where it can break.
    std::string line_;  // its first lineLength_ bytes
    std::size_t lineLength_ = 0;
    std::size_t head_ = 0;  // bytes the piece begins with (">" after a break), never a break
    Scan scan_ = Scan::Text;
    char16_t quote_ = 0;
    std::size_t entityLength_ = 0;
    bool afterTagBlank_ = false;
    bool overLimit_ = false;  // a tag passed the limit with nowhere to break
    std::optional<Break> plain_, preferred_, inTag_;

    std::uint64_t bodyLines_ = 0;
    LineLosses losses_;
    std::optional<EucGap> gap_;
};

}  // namespace qb
