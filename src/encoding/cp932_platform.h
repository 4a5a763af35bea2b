#pragma once
// The platform's own code page 932 converter, asked about one character at a time while
// the lookup tables are built (cp932_iconv.cpp on glibc, cp932_win32.cpp on Windows).

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

namespace qb::cp932::detail {

class PlatformCodePage {
public:
    // Throws std::runtime_error when the platform has no code page 932.
    PlatformCodePage();
    ~PlatformCodePage();
    PlatformCodePage(const PlatformCodePage&) = delete;
    PlatformCodePage& operator=(const PlatformCodePage&) = delete;

    // The one UTF-16 code unit that exactly these bytes (one or two) stand for, or
    // nothing.
    [[nodiscard]] std::optional<char16_t> Decode(std::string_view bytes);
    // The bytes of c: one byte (below 0x100) or two (first << 8 | second); nothing when
    // the code page cannot hold c. Never a look-alike.
    [[nodiscard]] std::optional<std::uint16_t> Encode(char16_t c);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace qb::cp932::detail
