// Code page 932 on Windows: MultiByteToWideChar and WideCharToMultiByte asked about one
// character at a time. The bytes written for a character must be those of every other
// platform, so Windows' best fit (é as "e", © as "c") is turned off, and the nine
// characters that glibc writes as the bytes of their JIS look-alikes, and Windows not at
// all, are mapped here to those bytes.

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <stdexcept>

#include "encoding/cp932_platform.h"

namespace qb::cp932::detail {

namespace {

constexpr UINT kCodePage = 932;

struct ExplicitMapping {
    char16_t c;
    std::uint16_t bytes;
};

// The bytes and, in the comments, the character Windows reads from them.
constexpr ExplicitMapping kExplicit[] = {
    {u'\u2014', 0x815C},  // EM DASH: U+2015 HORIZONTAL BAR
    {u'\u2016', 0x8161},  // DOUBLE VERTICAL LINE: U+2225 PARALLEL TO
    {u'\u203E', 0x007E},  // OVERLINE: U+007E TILDE
    {u'\u2212', 0x817C},  // MINUS SIGN: U+FF0D FULLWIDTH HYPHEN-MINUS
    {u'\u301C', 0x8160},  // WAVE DASH: U+FF5E FULLWIDTH TILDE
    {u'\u00A2', 0x8191},  // CENT SIGN: U+FFE0 FULLWIDTH CENT SIGN
    {u'\u00A3', 0x8192},  // POUND SIGN: U+FFE1 FULLWIDTH POUND SIGN
    {u'\u00A5', 0x005C},  // YEN SIGN: U+005C REVERSE SOLIDUS
    {u'\u00AC', 0x81CA},  // NOT SIGN: U+FFE2 FULLWIDTH NOT SIGN
};

}  // namespace

struct PlatformCodePage::Impl {};

PlatformCodePage::PlatformCodePage() {
    if (!IsValidCodePage(kCodePage)) {
        throw std::runtime_error("code page 932 is not installed");
    }
}

PlatformCodePage::~PlatformCodePage() = default;

std::optional<char16_t> PlatformCodePage::Decode(std::string_view bytes) {
    wchar_t out[2];
    const int got =
        MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), out, 2);
    if (got == 1) {
        return static_cast<char16_t>(out[0]);
    }
    return std::nullopt;
}

std::optional<std::uint16_t> PlatformCodePage::Encode(char16_t c) {
    const auto* m =
        std::find_if(std::begin(kExplicit), std::end(kExplicit), [c](const ExplicitMapping& e) { return e.c == c; });
    if (m != std::end(kExplicit)) {
        return m->bytes;
    }
    const auto wc = static_cast<wchar_t>(c);
    char out[2];
    BOOL usedDefault = FALSE;
    const int got = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, &wc, 1, out, 2, nullptr, &usedDefault);
    if (got <= 0 || usedDefault) {
        return std::nullopt;
    }
    const auto first = static_cast<unsigned char>(out[0]);
    if (got == 1) {
        return first;
    }
    return static_cast<std::uint16_t>(first << 8 | static_cast<unsigned char>(out[1]));
}

}  // namespace qb::cp932::detail
