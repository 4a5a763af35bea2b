#pragma once
// The rule for the name given for the import file (without ".txt"): it must name
// a file in the output folder itself.

#include <string_view>

namespace qb {

enum class NameRules {
    Posix,    // none of / \ and NUL
    Windows,  // also none of : < > " | ? * and no control character
};

#ifdef _WIN32
inline constexpr NameRules kNativeNameRules = NameRules::Windows;
#else
inline constexpr NameRules kNativeNameRules = NameRules::Posix;
#endif

// Whether name would leave the output folder or cannot be a file name in it: it holds a
// folder separator ("/" or "\" on every platform) or a character the platform forbids,
// or it is "." or "..". Blanks are allowed anywhere.
[[nodiscard]] bool IsBadFileName(std::u16string_view name, NameRules rules = kNativeNameRules);

}  // namespace qb
