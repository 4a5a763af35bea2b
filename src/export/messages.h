#pragma once
// How the engine talks to the user: one modal message box at a time. The window shows
// real message boxes, the command-line exporter prints, tests record.

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <string>

namespace qb {

inline constexpr char16_t kAppTitle[] = u"Quillbrook";

// The caption of the box that ends the program when the random time of day cannot be
// drawn. It is the one box not captioned with the program's title: "Ranking" marks the
// failure as the random draw's (the counter that picks the draw cannot be read), not the
// import file's, so a user who reports it tells the two apart.
inline constexpr char16_t kCounterFailureCaption[] = u"Ranking";

enum class MessageIcon { None, Exclamation, Critical };

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // details: what the box says under its text, in smaller type (empty for nothing); the
    // exporter prints it on standard error.
    virtual void Show(const std::u16string& text, MessageIcon icon, const std::u16string& caption,
                      const std::u16string& details) = 0;

    void Show(const std::u16string& text, MessageIcon icon, const std::u16string& caption) {
        Show(text, icon, caption, {});
    }
    // The usual box: OK only, no icon, the application's title.
    void Show(const std::u16string& text) { Show(text, MessageIcon::None, kAppTitle, {}); }
};

// A number as messages write it: decimal digits.
template <std::integral T>
[[nodiscard]] std::u16string NumberText(T n) {
    const std::string digits = std::to_string(n);
    return {digits.begin(), digits.end()};
}

// A count or size with a comma between each three digits, as Japanese texts write them.
[[nodiscard]] inline std::u16string GroupedNumberText(std::uint64_t n) {
    const std::u16string digits = NumberText(n);
    std::u16string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            text += u',';
        }
        text += digits[i];
    }
    return text;
}

// The message that ends a failed export: "書き込み異常終了です。" and the failure number.
[[nodiscard]] inline std::u16string WriteFailedMessage(int number) {
    return u"書き込み異常終了です。" + NumberText(number);
}

}  // namespace qb
