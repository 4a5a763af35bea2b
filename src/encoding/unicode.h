#pragma once
// Standard UTF-8 <-> UTF-16 conversion for paths and terminal text (not the import
// file's own UTF-8 encoder, which encodes code units one by one).

#include <filesystem>
#include <string>
#include <string_view>

namespace qb {

// Ill-formed input becomes U+FFFD.
[[nodiscard]] std::string Utf16ToUtf8(std::u16string_view text);
[[nodiscard]] std::u16string Utf8ToUtf16(std::string_view text);

// File names: a byte of a name that is not UTF-8 travels as U+DC80..U+DCFF, so that
// FromPath and ToPath give back the very same name.
[[nodiscard]] std::filesystem::path ToPath(std::u16string_view text);
[[nodiscard]] std::u16string FromPath(const std::filesystem::path& path);

// The platform's folder separator as the engine joins paths with it.
inline constexpr char16_t kPathSeparator = static_cast<char16_t>(std::filesystem::path::preferred_separator);

// folder with one separator at its end, ready for a name to be appended ("a" gives "a/",
// "a/" stays as it is). An empty folder stays empty.
[[nodiscard]] inline std::u16string WithTrailingSeparator(std::u16string folder) {
    if (!folder.empty() && folder.back() != kPathSeparator) {
        folder += kPathSeparator;
    }
    return folder;
}

}  // namespace qb
