#pragma once
// Body lines that an importer would take for lines of the import format itself.
//
// Two importers read an import file line by line and act on such lines wherever they stand:
// - Movable Type's importer ends an entry at a line "--------" and a section of it at a
//   line "-----";
// - WordPress's Movable Type importer trims each line (spaces, tabs, NUL, vertical tab, CR
//   and LF at both ends) and takes it as the format's own when it equals "-----",
//   "--------", "BODY:", "EXTENDED BODY:", "EXCERPT:", "KEYWORDS:", "COMMENT:" or "PING:",
//   or begins with one of the field labels "AUTHOR:", "TITLE:", "STATUS:", "URL:" ... (the
//   case must match).
// A body line cut there loses the rest of its article, or sets a field the author never
// wrote. The body is HTML (the record says CONVERT BREAKS: 0), so such a line is written
// with its first character after the blanks as a numeric character reference: "&#45;----",
// "&#83;TATUS: draft". A browser shows the same characters and neither importer knows the
// line. Every other line is written exactly as it comes.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace qb {

// Passes one composed body line after another to a sink, mending the lines above. A line
// comes in pieces of any size (it may be longer than memory could hold), so only its start
// is held back until it is plain which line it is: at most the longest label, or a whole
// line such as "-----" and the blanks after it. Such a line followed by more than
// kBlanksHeld blanks is mended without waiting for the line's end.
class BodyLineGuard {
public:
    static constexpr std::size_t kBlanksHeld = std::size_t{64} * 1024;
    using Sink = std::function<void(std::u16string_view)>;

    explicit BodyLineGuard(Sink sink) : sink_(std::move(sink)) {}

    // The next piece of the current line, without line end.
    void Feed(std::u16string_view text);
    // The current line is complete ("<P>", its text and any "<BR>" fed).
    void EndLine();

private:
    enum class State {
        Leading,         // only blanks so far: written as they come
        Head,            // held_ may still become a line of the format
        AfterWholeLine,  // held_ is a line of the format followed by blanks
        Plain,           // decided: the rest is written as it comes
    };
    void TakeHeadCharacter(char16_t c);
    void Release(bool mend);

    Sink sink_;
    State state_ = State::Leading;
    std::u16string held_;
};

}  // namespace qb
