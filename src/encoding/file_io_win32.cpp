// The file layer on Windows. Paths go to the wide-character calls as UTF-16, never
// through the ANSI code page, so that Japanese names of any folder work.

#include <windows.h>

#include <algorithm>
#include <mutex>
#include <string>

#include "common/run_error.h"
#include "encoding/file_io.h"
#include "encoding/temp_files.h"
#include "encoding/unicode.h"
#include "encoding/work_file_slots.h"

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

bool IsFolder(const std::filesystem::path& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Our new files are opened letting others delete them, so that the console handler can
// remove them while they are open.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// ---- Names of our new files, removed when the console's Ctrl+C, Ctrl+Break or close
// event ends the program

// The handler runs on a thread of its own.
detail::WorkFileSlots<wchar_t, MAX_PATH * 4> gNames;

BOOL WINAPI RemoveNewFiles(DWORD event) {
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT || event == CTRL_CLOSE_EVENT) {
        gNames.ForEachKept([](const wchar_t* name) { DeleteFileW(name); });
    }
    return FALSE;  // the system's own handling then ends the program
}

// Writes all of bytes to h; path names the file in a failure.
void WriteAll(HANDLE h, std::string_view bytes, const std::filesystem::path& path) {
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!WriteFile(h, bytes.data(), Portion(bytes.size()), &written, nullptr)) {
            ThrowLastError("write", path);
        }
        bytes.remove_prefix(written);
    }
}

// Closes h unless it is closed already, and marks it closed.
void CloseOnce(HANDLE& h, const std::filesystem::path& path) {
    if (h == detail::kNoFile) {
        return;
    }
    const HANDLE f = h;
    h = detail::kNoFile;
    if (!CloseHandle(f)) {
        ThrowLastError("close", path);
    }
}

constexpr int kNameAttempts = 100;

}  // namespace

InputFile::InputFile(const std::filesystem::path& path) : path_(path) {
    // A folder cannot be read; say so as the other platforms do, not as "access denied".
    if (IsFolder(path)) {
        throw RunError(err::kPathFileAccess, "open " + Shown(path) + ": a folder");
    }
    const HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
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

OutputFile::OutputFile(const std::filesystem::path& path) : path_(path) {
    const HANDLE h =
        CreateFileW(path.c_str(), GENERIC_WRITE, kShareAll, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        ThrowLastError("create", path);
    }
    fd_ = h;
}

OutputFile::~OutputFile() {
    if (fd_ != detail::kNoFile) {
        CloseHandle(fd_);
    }
}

void OutputFile::Write(std::string_view bytes) { WriteAll(fd_, bytes, path_); }

void OutputFile::Close() { CloseOnce(fd_, path_); }

ReplacementFile::ReplacementFile(const std::filesystem::path& target) : target_(target) {
    // A link is followed, so that the file it names gets the new content.
    std::error_code ec;
    if (std::filesystem::is_symlink(target, ec)) {
        target_ = std::filesystem::canonical(target, ec);
        if (ec) {
            throw RunError(ErrorNumberFromErrorCode(ec), "resolve " + Shown(target));
        }
    }
    if (IsFolder(target_)) {
        throw RunError(err::kPathFileAccess, "replace " + Shown(target_) + ": a folder");
    }
    // A file that could not be written in place (read-only, denied, or held open by a
    // program that lets nobody write it) is not replaced either.
    if (GetFileAttributesW(target_.c_str()) != INVALID_FILE_ATTRIBUTES) {
        const HANDLE h = CreateFileW(target_.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            ThrowLastError("replace", target_);
        }
        CloseHandle(h);
    }
    static std::once_flag handlerInstalled;
    std::call_once(handlerInstalled, [] { SetConsoleCtrlHandler(RemoveNewFiles, TRUE); });

    // A short name of our own: one built from target's name could be longer than the
    // folder allows when target's name is near the limit. The name is kept before the
    // file is made, so that no event can come between the two.
    const std::filesystem::path folder = FolderOf(target_);
    for (int attempt = 0; fd_ == detail::kNoFile; ++attempt) {
        temp_ = folder / NewTempName();
        slot_ = gNames.Keep(temp_.native());
        const HANDLE h = CreateFileW(temp_.c_str(), GENERIC_WRITE, kShareAll, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            fd_ = h;
            break;
        }
        const DWORD e = GetLastError();
        gNames.Forget(slot_);
        if ((e != ERROR_FILE_EXISTS && e != ERROR_ALREADY_EXISTS) || attempt + 1 == kNameAttempts) {
            ThrowWin32(e, "create " + Shown(temp_));
        }
    }
}

ReplacementFile::~ReplacementFile() {
    if (fd_ != detail::kNoFile) {
        CloseHandle(fd_);
    }
    if (!done_) {
        DeleteFileW(temp_.c_str());
    }
    gNames.Forget(slot_);
}

void ReplacementFile::Write(std::string_view bytes) { WriteAll(fd_, bytes, temp_); }

void ReplacementFile::Close() { CloseOnce(fd_, temp_); }

void ReplacementFile::Commit() {
    // Written by others after Close(): opened again by name to flush it.
    HANDLE h = fd_;
    fd_ = detail::kNoFile;
    if (h == detail::kNoFile) {
        h = CreateFileW(temp_.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                        nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            ThrowLastError("open", temp_);
        }
    }
    if (!FlushFileBuffers(h)) {
        const DWORD e = GetLastError();
        CloseHandle(h);
        ThrowWin32(e, "flush " + Shown(temp_));
    }
    if (!CloseHandle(h)) {
        ThrowLastError("close", temp_);
    }
    // Write-through: the call returns once the rename is on the disk.
    if (!MoveFileExW(temp_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ThrowLastError("replace", target_);
    }
    done_ = true;
    gNames.Forget(slot_);
}

bool ReplacementFile::KeepAs(const std::filesystem::path& other) noexcept {
    if (done_) {
        return false;
    }
    if (fd_ != detail::kNoFile) {
        CloseHandle(fd_);
        fd_ = detail::kNoFile;
    }
    const bool kept = MoveFileExW(temp_.c_str(), other.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
    if (!kept) {
        DeleteFileW(temp_.c_str());
    }
    done_ = true;
    gNames.Forget(slot_);
    return kept;
}

}  // namespace qb
