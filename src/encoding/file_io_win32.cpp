// The file layer on Windows. Paths go to the wide-character calls as UTF-16, never
// through the ANSI code page, so that Japanese names of any folder work.

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>

#include "common/run_error.h"
#include "encoding/file_io.h"
#include "encoding/unicode.h"

namespace qb {

namespace {

// The folder that holds path; "." for a bare file name.
std::filesystem::path FolderOf(const std::filesystem::path& path) {
    std::filesystem::path folder = path.parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

// UTF-8 of a path, for the detail text of a failure.
std::string Shown(const std::filesystem::path& path) { return Utf16ToUtf8(FromPath(path)); }

[[noreturn]] void ThrowLastError(const std::string& what, const std::filesystem::path& path) {
    ThrowWin32(GetLastError(), what + " " + Shown(path));
}

// ReadFile and WriteFile take at most a DWORD of bytes at once.
DWORD Portion(std::size_t size) { return static_cast<DWORD>(std::min<std::size_t>(size, 1U << 30)); }

// A short name of its own for the new file: one built from target's name could be
// longer than the folder allows when target's name is near the limit.
std::wstring TempName(unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    static constexpr wchar_t kDigits[] = L"0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    unsigned long long x = (static_cast<unsigned long long>(GetCurrentProcessId()) << 32) ^ GetTickCount64() ^
                           (static_cast<unsigned long long>(counter++) * 0x9E3779B97F4A7C15ULL) ^ attempt;
    std::wstring name = L".quillbrook-";
    for (int i = 0; i < 6; ++i) {
        name += kDigits[x % 62];
        x /= 62;
    }
    return name;
}

}  // namespace

InputFile::InputFile(const std::filesystem::path& path) : path_(path) {
    // A folder cannot be read; say so as the other platforms do, not as "access denied".
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        throw RunError(err::kPathFileAccess, "open " + Shown(path) + ": a folder");
    }
    const HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        ThrowLastError("open", path);
    }
    fd_ = h;
}

InputFile::~InputFile() { Close(); }

void InputFile::Close() noexcept {
    if (fd_ != detail::kNoFile) {
        CloseHandle(fd_);
        fd_ = detail::kNoFile;
    }
}

std::string_view InputFile::Read(std::string& buffer) {
    if (fd_ == detail::kNoFile) {
        return {};
    }
    DWORD got = 0;
    if (!ReadFile(fd_, buffer.data(), Portion(buffer.size()), &got, nullptr)) {
        ThrowLastError("read", path_);
    }
    return {buffer.data(), got};
}

ReplacementFile::ReplacementFile(const std::filesystem::path& target) : target_(target) {
    // A link is followed, so that the file it names gets the new content.
    std::error_code ec;
    if (std::filesystem::is_symlink(target, ec)) {
        target_ = std::filesystem::canonical(target, ec);
        if (ec) {
            throw RunError(ErrorNumberFromErrorCode(ec), "resolve " + Shown(target));
        }
    }
    const std::filesystem::path folder = FolderOf(target_);
    for (unsigned attempt = 0;; ++attempt) {
        temp_ = folder / TempName(attempt);
        const HANDLE h =
            CreateFileW(temp_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            fd_ = h;
            return;
        }
        const DWORD e = GetLastError();
        if ((e != ERROR_FILE_EXISTS && e != ERROR_ALREADY_EXISTS) || attempt == 100) {
            ThrowWin32(e, "create " + Shown(temp_));
        }
    }
}

ReplacementFile::~ReplacementFile() {
    if (fd_ != detail::kNoFile) {
        CloseHandle(fd_);
    }
    if (!committed_) {
        DeleteFileW(temp_.c_str());
    }
}

void ReplacementFile::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!WriteFile(fd_, bytes.data(), Portion(bytes.size()), &written, nullptr)) {
            ThrowLastError("write", temp_);
        }
        bytes.remove_prefix(written);
    }
}

void ReplacementFile::Commit() {
    if (!FlushFileBuffers(fd_)) {
        ThrowLastError("flush", temp_);
    }
    const HANDLE h = fd_;
    fd_ = detail::kNoFile;
    if (!CloseHandle(h)) {
        ThrowLastError("close", temp_);
    }
    // Write-through: the call returns once the rename is on the disk.
    if (!MoveFileExW(temp_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ThrowLastError("replace", target_);
    }
    committed_ = true;
}

}  // namespace qb
