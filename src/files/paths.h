#pragma once
// Paths as the program's UTF-16 text, and the one folder separator that the window, the
// command-line tool and the engine all write.

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>

namespace qb {

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

// "/", which every platform takes as a separator; the window keeps its paths with it, as
// Qt does.
inline constexpr char16_t kPortableSeparator = u'/';

// A path written with kPortableSeparator in the platform's own form, the one shown to
// the user and joined and split by the engine: "C:\blog" on Windows, "/blog" elsewhere.
[[nodiscard]] inline std::u16string NativePath(std::u16string path) {
    std::replace(path.begin(), path.end(), kPortableSeparator, kPathSeparator);
    return path;
}

}  // namespace qb
