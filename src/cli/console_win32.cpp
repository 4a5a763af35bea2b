#include <windows.h>
// After windows.h:
#include <shellapi.h>

#include <algorithm>

#include "cli/console.h"
#include "common/unicode.h"
#include "files/paths.h"

namespace qb::cli {

std::vector<std::string> ProgramArguments(int /*argc*/, char** /*argv*/) {
    // main's argv is in the ANSI code page, which cannot hold every name.
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    if (wide == nullptr) {
        return args;
    }
    for (int i = 1; i < count; ++i) {
        const std::wstring_view arg(wide[i]);
        args.push_back(Utf16ToUtf8(std::u16string(arg.begin(), arg.end())));
    }
    LocalFree(static_cast<HLOCAL>(wide));
    return args;
}

std::filesystem::path ArgumentPath(const std::string& arg) { return ToPath(Utf8ToUtf16(arg)); }

void Write(Stream stream, std::string_view utf8) {
    const HANDLE h = GetStdHandle(stream == Stream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    if (h == nullptr || h == INVALID_HANDLE_VALUE) {
        return;  // nowhere to say it
    }
    DWORD mode = 0;
    if (GetConsoleMode(h, &mode)) {
        const std::u16string text = Utf8ToUtf16(utf8);
        std::u16string_view rest(text);
        while (!rest.empty()) {
            DWORD written = 0;
            auto portion = static_cast<DWORD>(std::min<std::size_t>(rest.size(), 8192));
            if (portion < rest.size() && rest[portion - 1] >= 0xD800 && rest[portion - 1] <= 0xDBFF) {
                --portion;  // a surrogate pair stays in one piece
            }
            if (!WriteConsoleW(h, rest.data(), portion, &written, nullptr) || written == 0) {
                return;
            }
            rest.remove_prefix(written);
        }
        return;
    }
    while (!utf8.empty()) {
        DWORD written = 0;
        const auto portion = static_cast<DWORD>(std::min<std::size_t>(utf8.size(), 1U << 20));
        if (!WriteFile(h, utf8.data(), portion, &written, nullptr) || written == 0) {
            return;
        }
        utf8.remove_prefix(written);
    }
}

}  // namespace qb::cli
