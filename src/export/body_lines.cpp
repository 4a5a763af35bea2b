#include "export/body_lines.h"

#include <algorithm>
#include <array>

namespace qb {

namespace {

// Lines the importers read as the format's own when a trimmed line is exactly one of them.
constexpr std::array<std::u16string_view, 8> kWholeLines = {u"-----",    u"--------",  u"BODY:",    u"EXTENDED BODY:",
                                                            u"EXCERPT:", u"KEYWORDS:", u"COMMENT:", u"PING:"};

// Labels that make a trimmed line the format's own when it begins with one of them.
constexpr std::array<std::u16string_view, 13> kLabels = {
    u"AUTHOR:",      u"TITLE:",    u"BASENAME:",         u"STATUS:", u"ALLOW COMMENTS:",
    u"ALLOW PINGS:", u"CATEGORY:", u"PRIMARY CATEGORY:", u"DATE:",   u"EMAIL:",
    u"IP:",          u"URL:",      u"BLOG NAME:"};

// What WordPress's importer trims from both ends of a line.
bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\0' || c == u'\v' || c == u'\r' || c == u'\n'; }

bool IsWholeLine(std::u16string_view text) {
    return std::find(kWholeLines.begin(), kWholeLines.end(), text) != kWholeLines.end();
}

// Whether more characters could still make text one of the lines above.
bool MayBecomeOne(std::u16string_view text) {
    const auto starts = [text](std::u16string_view line) { return line.substr(0, text.size()) == text; };
    return std::any_of(kWholeLines.begin(), kWholeLines.end(), starts) ||
           std::any_of(kLabels.begin(), kLabels.end(), starts);
}

}  // namespace

void BodyLineGuard::Feed(std::u16string_view text) {
    while (!text.empty()) {
        switch (state_) {
        case State::Plain:
            sink_(text);
            return;
        case State::Leading: {
            const auto first = std::find_if_not(text.begin(), text.end(), IsBlank) - text.begin();
            if (first > 0) {
                sink_(text.substr(0, static_cast<std::size_t>(first)));
                text.remove_prefix(static_cast<std::size_t>(first));
            }
            if (!text.empty()) {
                state_ = State::Head;
            }
            break;
        }
        case State::Head:
            TakeHeadCharacter(text.front());
            text.remove_prefix(1);
            break;
        case State::AfterWholeLine: {
            const auto blanks =
                static_cast<std::size_t>(std::find_if_not(text.begin(), text.end(), IsBlank) - text.begin());
            if (held_.size() + blanks > kBlanksHeld) {
                Release(true);  // however the pieces fall
                break;
            }
            held_.append(text.substr(0, blanks));
            text.remove_prefix(blanks);
            if (!text.empty()) {
                Release(false);  // text after the blanks: a line of its own
            }
            break;
        }
        }
    }
}

void BodyLineGuard::TakeHeadCharacter(char16_t c) {
    if (IsBlank(c) && IsWholeLine(held_)) {
        held_ += c;
        state_ = State::AfterWholeLine;
        return;
    }
    held_ += c;
    // Checked at every character, so a label is found the moment held_ equals it.
    if (std::find(kLabels.begin(), kLabels.end(), std::u16string_view(held_)) != kLabels.end()) {
        Release(true);
    } else if (!MayBecomeOne(held_)) {
        Release(false);
    }
}

void BodyLineGuard::Release(bool mend) {
    std::u16string_view rest = held_;
    if (mend) {
        // The first character is ASCII ("-" or a capital letter), the same in every encoding.
        std::u16string reference = u"&#";
        for (const char digit : std::to_string(static_cast<unsigned>(rest.front()))) {
            reference += static_cast<char16_t>(digit);
        }
        reference += u';';
        sink_(reference);
        rest.remove_prefix(1);
    }
    if (!rest.empty()) {
        sink_(rest);
    }
    held_.clear();
    state_ = State::Plain;
}

void BodyLineGuard::EndLine() {
    if (state_ == State::Head) {
        Release(IsWholeLine(held_));
    } else if (state_ == State::AfterWholeLine) {
        Release(true);
    }
    held_.clear();
    state_ = State::Leading;
}

}  // namespace qb
