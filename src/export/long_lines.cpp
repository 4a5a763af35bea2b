#include "export/long_lines.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "encoding/cp932.h"

namespace qb {

namespace {

// Per UTF-16 code unit, packed: the width of its bytes as written in Shift_JIS (bits 0-1),
// EUC-JP (bits 2-3) and UTF-8 (bits 4-5, of the character code page 932 gives back), and
// two flags. A code unit without bytes ("?") is one byte wide everywhere.
constexpr unsigned kShiftJisShift = 0;
constexpr unsigned kEucShift = 2;
constexpr unsigned kUtf8Shift = 4;
constexpr std::uint8_t kPlatformFlag = 0x40;  // held only beyond JIS X 0208
constexpr std::uint8_t kNoEucFlag = 0x80;     // the EUC-JP conversion fails on it

constexpr std::size_t kWbrWidth = 4;  // "<wbr"
constexpr std::size_t kEntityMost = 32;
constexpr std::size_t kLineSlack = 64;
// A simple body character: its code page 932 bytes, its width and whether a break after it
// reads best.
constexpr unsigned kWidthAt = 16;
constexpr std::uint32_t kClauseBit = 1U << 20U;

unsigned Utf8Width(char16_t c) { return c < 0x80 ? 1 : (c < 0x800 ? 2 : 3); }

const std::uint8_t* CharInfo() {
    static const std::vector<std::uint8_t> table = [] {
        const std::uint16_t* codes = cp932::CodeTable();
        std::vector<std::uint8_t> info(0x10000, 0x15);  // "?": 1, 1, 1
        cp932::Decoder decoder;
        std::u16string back;
        for (std::uint32_t u = 0; u < 0x10000; ++u) {
            const std::uint16_t code = codes[u];
            if (code == cp932::kNoCode) {
                continue;
            }
            std::string bytes;
            unsigned sjis = 1;
            unsigned euc = 1;
            std::uint8_t flags = 0;
            if (code < 0x100) {
                bytes.push_back(static_cast<char>(code));
                if (code >= 0xA1 && code <= 0xDF) {
                    euc = 2;  // 8E and the kana byte
                } else if (code == 0x80 || code == 0xA0 || code >= 0xFD) {
                    // Windows' own single bytes: the conversion takes them as lead bytes.
                    euc = 2;
                    flags = kPlatformFlag | kNoEucFlag;
                }
            } else {
                const unsigned lead = code >> 8U;
                const unsigned second = code & 0xFFU;
                bytes.push_back(static_cast<char>(lead));
                bytes.push_back(static_cast<char>(second));
                sjis = 2;
                euc = 2;
                if (lead == 0x87 || lead == 0xED || lead == 0xEE || (lead >= 0xF0 && lead <= 0xFC)) {
                    flags = kPlatformFlag;
                }
                if (lead >= 0xF1 || (lead == 0xF0 && second >= 0x9F)) {
                    flags |= kNoEucFlag;
                }
            }
            back.clear();
            decoder.Feed(bytes, back);
            decoder.Finish(back);
            const unsigned utf8 = back.empty() ? 1 : Utf8Width(back.front());
            info[u] = static_cast<std::uint8_t>(sjis << kShiftJisShift | euc << kEucShift | utf8 << kUtf8Shift | flags);
        }
        return info;
    }();
    return table.data();
}

bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsBlank(char32_t c) { return c == U' ' || c == U'\t' || c == U'\u3000'; }
bool IsAsciiLetter(char32_t c) { return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z'); }
bool IsAsciiDigit(char32_t c) { return c >= U'0' && c <= U'9'; }
// Where a break reads best: after the end of a sentence or clause, or a blank.
bool EndsClause(char32_t c) { return c == U'。' || c == U'、' || c == U'！' || c == U'？' || c == U'」' || IsBlank(c); }

// A short tag of ASCII letters alone, as the record's marks are.
bool IsWholeMark(std::u16string_view text) {
    if (text.size() < 3 || text.size() > 8 || text.front() != u'<' || text.back() != u'>') {
        return false;
    }
    return std::all_of(text.begin() + 1, text.end() - 1, [](char16_t c) { return IsAsciiLetter(c) || c == u'/'; }) &&
           IsAsciiLetter(text[1] == u'/' ? (text.size() > 3 ? text[2] : u'>') : text[1]);
}

std::string Reference(char32_t c) { return "&#" + std::to_string(static_cast<std::uint32_t>(c)) + ";"; }

}  // namespace

LineWriter::LineWriter(const LineRules& rules)
    : rules_(rules),
      eolWidth_(rules.lineEnds == LineEnds::Lf ? 1 : 2),
      widthShift_(rules.encoding == OutputEncoding::EucJp  ? kEucShift
                  : rules.encoding == OutputEncoding::Utf8 ? kUtf8Shift
                                                           : kShiftJisShift),
      codes_(cp932::CodeTable()),
      info_(CharInfo()),
      simple_(0x10000, 0),
      line_(rules.limit + kLineSlack, '\0') {
    // A body character is simple when it is written as its code page 932 bytes and changes
    // no state of the breaker: its width (with kClauseBit when a break after it reads
    // best), else 0.
    const bool euc = rules.encoding == OutputEncoding::EucJp;
    const bool reference = rules.platformChars == PlatformChars::Reference;
    for (std::uint32_t u = 0; u < 0x10000; ++u) {
        const auto c = static_cast<char32_t>(u);
        const std::uint8_t info = info_[u];
        if (codes_[u] == cp932::kNoCode || (euc && (info & kNoEucFlag) != 0) ||
            (reference && (info & kPlatformFlag) != 0) || c == U'<' || c == U'>' || c == U'&' || c == U'"' ||
            c == U'\'') {
            continue;
        }
        simple_[u] = codes_[u] | ((info >> widthShift_) & 3U) << kWidthAt | (EndsClause(c) ? kClauseBit : 0U);
    }
}

void LineWriter::Put(std::string_view bytes) {
    if (lineLength_ + bytes.size() + 2 > line_.size()) {
        line_.resize(2 * (lineLength_ + bytes.size() + 2));
    }
    std::memcpy(line_.data() + lineLength_, bytes.data(), bytes.size());
    lineLength_ += bytes.size();
}

void LineWriter::BeginRecord() {
    bodyLines_ = 0;
    losses_ = {};
    gap_.reset();
}

void LineWriter::BeginLine(LineKind kind) {
    kind_ = kind;
    if (kind == LineKind::Body) {
        ++bodyLines_;
    }
}

void LineWriter::Feed(std::u16string_view text, std::string& out) {
    out_ = &out;
    if (kind_ == LineKind::Body) {
        FeedBody(text);
        return;
    }
    if (kind_ == LineKind::Plain && highSurrogate_ == 0) {
        // Labels and values: their bytes, unless a character needs a closer look.
        const bool euc = rules_.encoding == OutputEncoding::EucJp;
        std::size_t simple = 0;
        while (simple < text.size()) {
            const char16_t u = text[simple];
            if (codes_[u] == cp932::kNoCode || (euc && (info_[u] & kNoEucFlag) != 0)) {
                break;
            }
            ++simple;
        }
        const std::size_t base = out.size();
        out.resize(base + 2 * simple);
        char* o = out.data() + base;
        for (std::size_t i = 0; i < simple; ++i) {
            const std::uint16_t code = codes_[text[i]];
            if (code >= 0x100) {
                *o++ = static_cast<char>(code >> 8U);
            }
            *o++ = static_cast<char>(code & 0xFFU);
        }
        out.resize(static_cast<std::size_t>(o - out.data()));
        text.remove_prefix(simple);
    }
    FeedEach(text);
}

void LineWriter::FeedBody(std::u16string_view text) {
    const std::size_t budget = rules_.limit - kWbrWidth - eolWidth_;
    const std::uint32_t* simple = simple_.data();
    if (IsWholeMark(text) && scan_ == Scan::Text && highSurrogate_ == 0 && !overLimit_ &&
        lineBytes_ + text.size() <= budget) {
        // "<P>" or "<BR>", a piece of its own: a break fits before it and after it.
        for (const char16_t c : text) {
            line_[lineLength_++] = static_cast<char>(c);
        }
        lineBytes_ += text.size();
        plain_ = Break{lineLength_, lineBytes_};
        return;
    }
    std::size_t i = 0;
    while (i < text.size()) {
        if (highSurrogate_ == 0 && !overLimit_ && !afterTagBlank_ &&
            (scan_ == Scan::Text || scan_ == Scan::Tag || scan_ == Scan::TagQuote)) {
            // The common case, with the state in locals: the bytes, and places to break.
            const bool inText = scan_ == Scan::Text;
            char* const line = line_.data();
            std::size_t length = lineLength_;
            std::size_t bytes = lineBytes_;
            const std::size_t start = i;
            std::optional<Break> preferred;
            // Up to the budget only: what may come after it needs the careful way.
            for (; i < text.size(); ++i) {
                const std::uint32_t entry = simple[text[i]];
                if (entry == 0) {
                    break;
                }
                const bool clause = (entry & kClauseBit) != 0;
                const std::size_t width = (entry >> kWidthAt) & 3U;
                if ((clause && !inText) || bytes + width > budget) {
                    break;  // a blank inside a tag, or the end of the budget
                }
                if (entry & 0xFF00U) {
                    line[length++] = static_cast<char>((entry >> 8U) & 0xFFU);
                }
                line[length++] = static_cast<char>(entry & 0xFFU);
                bytes += width;
                if (clause) {
                    preferred = Break{length, bytes};
                }
            }
            lineLength_ = length;
            lineBytes_ = bytes;
            if (inText && i > start) {
                plain_ = Break{length, bytes};
                if (preferred) {
                    preferred_ = preferred;
                }
            }
            if (i == text.size()) {
                return;
            }
        }
        FeedEach(text.substr(i, 1));
        ++i;
    }
}

void LineWriter::FeedEach(std::u16string_view text) {
    const std::uint16_t* codes = codes_;
    for (const char16_t u : text) {
        if (highSurrogate_ != 0) {
            const char16_t high = highSurrogate_;
            highSurrogate_ = 0;
            if (IsLow(u)) {
                Character(0x10000 + ((static_cast<char32_t>(high) - 0xD800) << 10U) + (u - 0xDC00), cp932::kNoCode);
                continue;
            }
            Character(high, cp932::kNoCode);
        }
        if (IsHigh(u)) {
            highSurrogate_ = u;
            continue;
        }
        Character(u, codes[u]);
    }
}

void LineWriter::Character(char32_t c, std::uint16_t code) {
    const bool lone = c >= 0xD800 && c <= 0xDFFF;
    const std::uint8_t info = c < 0x10000 ? info_[c] : std::uint8_t{0x15};
    const bool referable = rules_.platformChars == PlatformChars::Reference &&
                           (kind_ == LineKind::Title || kind_ == LineKind::Body) && !lone;
    char pair[2];
    std::string_view bytes;
    std::string reference;
    bool question = false;
    if (referable && (code == cp932::kNoCode || (info & kPlatformFlag) != 0)) {
        reference = Reference(c);
        bytes = reference;
    } else if (code == cp932::kNoCode) {
        bytes = "?";
        question = true;
    } else if (code < 0x100) {
        pair[0] = static_cast<char>(code);
        bytes = std::string_view(pair, 1);
    } else {
        pair[0] = static_cast<char>(code >> 8U);
        pair[1] = static_cast<char>(code & 0xFFU);
        bytes = std::string_view(pair, 2);
    }
    const std::size_t width = reference.empty() ? (info >> widthShift_) & 3U : reference.size();

    if (kind_ == LineKind::Title || kind_ == LineKind::TitleValue) {
        if (cut_ || lineBytes_ + width + eolWidth_ > rules_.limit) {
            cut_ = true;
            losses_.titleCut = true;
            return;
        }
        lineBytes_ += width;
    }
    if (question) {
        ++losses_.questionMarks;
    }
    if (rules_.encoding == OutputEncoding::EucJp && reference.empty() && (info & kNoEucFlag) != 0 &&
        code != cp932::kNoCode && !gap_) {
        gap_ = EucGap{c, kind_, kind_ == LineKind::Body ? bodyLines_ : 0};
    }
    if (kind_ == LineKind::Body) {
        BodyCharacter(c, bytes, width);
    } else {
        out_->append(bytes);
    }
}

void LineWriter::BodyCharacter(char32_t c, std::string_view bytes, std::size_t width) {
    if (afterTagBlank_) {
        afterTagBlank_ = false;
        // Not before a capital or "-": the piece must not begin like a line of the format.
        if (scan_ == Scan::Tag && !IsBlank(c) && !(c >= U'A' && c <= U'Z') && c != U'-' && lineLength_ > head_ &&
            (lineBytes_ + eolWidth_ <= rules_.limit || overLimit_)) {
            inTag_ = Break{lineLength_, lineBytes_};
        }
    }
    while (overLimit_ ? (plain_ || preferred_ || inTag_) : lineBytes_ + width + eolWidth_ > rules_.limit) {
        if (!BreakBody()) {
            overLimit_ = true;
            ++losses_.tagsWhole;
            break;
        }
        overLimit_ = false;
    }
    Put(bytes);
    lineBytes_ += width;
    NoteBreaks(c);
}

void LineWriter::NoteBreaks(char32_t c) {
    const auto text = [&](char32_t ch) {
        if (ch == U'<') {
            scan_ = Scan::Lt;
            return;
        }
        if (ch == U'&') {
            scan_ = Scan::Amp;
            return;
        }
        scan_ = Scan::Text;
        if (lineLength_ > head_ && (lineBytes_ + kWbrWidth + eolWidth_ <= rules_.limit || overLimit_)) {
            const Break here{lineLength_, lineBytes_};
            plain_ = here;
            if (EndsClause(ch)) {
                preferred_ = here;
            }
        }
    };
    switch (scan_) {
    case Scan::Text:
        text(c);
        break;
    case Scan::Lt:
        if (IsAsciiLetter(c) || c == U'/' || c == U'!' || c == U'?') {
            scan_ = Scan::Tag;
        } else {
            text(c);  // a "<" that opens no tag
        }
        break;
    case Scan::Tag:
        if (c == U'"' || c == U'\'') {
            quote_ = static_cast<char16_t>(c);
            scan_ = Scan::TagQuote;
        } else if (c == U'>') {
            scan_ = Scan::Text;
            text(U'>');
        } else if (IsBlank(c)) {
            afterTagBlank_ = true;
        }
        break;
    case Scan::TagQuote:
        if (c == quote_) {
            scan_ = Scan::Tag;
        }
        break;
    case Scan::Amp:
        if (c == U'#' || IsAsciiLetter(c)) {
            scan_ = Scan::Entity;
            entityLength_ = 1;
        } else {
            text(c);
        }
        break;
    case Scan::Entity:
        if (c == U';') {
            text(U';');
        } else if (!(IsAsciiLetter(c) || IsAsciiDigit(c)) || ++entityLength_ >= kEntityMost) {
            text(c);  // no reference after all
        }
        break;
    }
}

bool LineWriter::BreakBody() {
    const std::size_t budget = rules_.limit - kWbrWidth - eolWidth_;
    if (preferred_ && (preferred_->bytes >= budget / 4 * 3 || !plain_ || overLimit_)) {
        BreakAt(*preferred_, false);
    } else if (plain_) {
        BreakAt(*plain_, false);
    } else if (inTag_) {
        BreakAt(*inTag_, true);
    } else {
        return false;
    }
    return true;
}

void LineWriter::BreakAt(const Break& at, bool inTag) {
    out_->append(line_.data(), at.offset);
    if (!inTag) {
        out_->append("<wbr");
    }
    out_->append("\r\n");
    // The rest moves to the front, after ">" that begins the next piece.
    head_ = inTag ? 0 : 1;
    std::memmove(line_.data() + head_, line_.data() + at.offset, lineLength_ - at.offset);
    lineLength_ = lineLength_ - at.offset + head_;
    if (!inTag) {
        line_[0] = '>';
    }
    lineBytes_ = lineBytes_ - at.bytes + head_;
    for (std::optional<Break>* slot : {&plain_, &preferred_, &inTag_}) {
        if (*slot && (*slot)->offset > at.offset) {
            (*slot)->offset = (*slot)->offset - at.offset + head_;
            (*slot)->bytes = (*slot)->bytes - at.bytes + head_;
        } else {
            slot->reset();
        }
    }
}

void LineWriter::EndLine(std::string& out) {
    out_ = &out;
    if (highSurrogate_ != 0) {
        const char16_t high = highSurrogate_;
        highSurrogate_ = 0;
        Character(high, cp932::kNoCode);
    }
    if (kind_ == LineKind::Body) {
        out.append(line_.data(), lineLength_);
        lineLength_ = 0;
    }
    out.append("\r\n");
    kind_ = LineKind::Plain;
    lineBytes_ = 0;
    cut_ = false;
    head_ = 0;
    scan_ = Scan::Text;
    afterTagBlank_ = false;
    overLimit_ = false;
    plain_.reset();
    preferred_.reset();
    inTag_.reset();
}

}  // namespace qb
