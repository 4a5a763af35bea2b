#include <windows.h>

#include <gtest/gtest.h>

#include "cli_platform.h"
#include "common/unicode.h"
#include "support/test_support.h"

namespace qbtest {

namespace {

// One argument quoted as CommandLineToArgvW reads it back: backslashes are doubled only
// before a quote.
std::wstring Quote(const std::wstring& arg) {
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, L'\\');
    return quoted + L"\"";
}

std::wstring Wide(const std::string& utf8) {
    const std::u16string text = qb::Utf8ToUtf16(utf8);
    return {text.begin(), text.end()};
}

HANDLE Inheritable(const std::filesystem::path& path, DWORD access, DWORD creation) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, creation,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Windows' own conversion from code page 932 to another code page.
std::string Convert(const std::string& sjis, UINT to) {
    const int n = MultiByteToWideChar(932, 0, sjis.data(), static_cast<int>(sjis.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(932, 0, sjis.data(), static_cast<int>(sjis.size()), text.data(), n);
    const int m = WideCharToMultiByte(to, 0, text.data(), n, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(m), '\0');
    WideCharToMultiByte(to, 0, text.data(), n, out.data(), m, nullptr, nullptr);
    return out;
}

}  // namespace

Result RunCli(const std::filesystem::path& cwd, const std::vector<std::string>& args) {
    const std::filesystem::path program = std::filesystem::absolute(QB_EXPORT_BINARY);
    std::wstring command = Quote(program.native());
    for (const auto& arg : args) {
        command += L" " + Quote(Wide(arg));
    }
    // Names of their own for every run: Wine may hold the files of a run open for a
    // moment after the run has ended.
    static int run = 0;
    ++run;
    const auto outFile = cwd / (".stdout-" + std::to_string(run));
    const auto errFile = cwd / (".stderr-" + std::to_string(run));
    const HANDLE in = Inheritable(L"NUL", GENERIC_READ, OPEN_EXISTING);
    const HANDLE out = Inheritable(outFile, GENERIC_WRITE, CREATE_ALWAYS);
    const HANDLE err = Inheritable(errFile, GENERIC_WRITE, CREATE_ALWAYS);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    Result result;
    if (CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, cwd.c_str(),
                       &startup, &process)) {
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        result.exit = static_cast<int>(code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    } else {
        ADD_FAILURE() << "cannot start " << program << ": error " << GetLastError();
    }
    for (const HANDLE h : {in, out, err}) {
        CloseHandle(h);
    }
    result.out = ReadBytes(outFile);
    result.err = ReadBytes(errFile);
    for (const auto& file : {outFile, errFile}) {
        for (int attempt = 0; attempt < 100 && !DeleteFileW(file.c_str()); ++attempt) {
            Sleep(20);
        }
    }
    return result;
}

std::string InEncoding(const std::string& sjis, const std::string& encoding) {
    if (encoding == "utf-8") {
        return Convert(sjis, CP_UTF8);
    }
    if (encoding == "euc-jp") {
        return Convert(sjis, 20932);
    }
    return sjis;
}

}  // namespace qbtest
