// The file layer's primitives on Windows. Paths go to the wide-character calls as
// UTF-16, never through the ANSI code page, so that Japanese names of any folder work.
// A work file's name is removed when the console's Ctrl+C, Ctrl+Break or close event
// ends the program.

#include <windows.h>

#include <algorithm>

#include "common/run_error.h"
#include "common/unicode.h"
#include "files/file_platform.h"
#include "files/paths.h"

namespace qb::detail {

namespace {

[[noreturn]] void ThrowLastError(const std::string& what, const std::filesystem::path& path) {
    ThrowWin32(GetLastError(), what + " " + Shown(path));
}

// ReadFile and WriteFile take at most a DWORD of bytes at once.
DWORD Portion(std::size_t size) { return static_cast<DWORD>(std::min<std::size_t>(size, 1U << 30)); }

bool IsFolder(const std::filesystem::path& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Our files are opened letting others delete them, so that the console handler can
// remove them while they are open.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE Open(const std::filesystem::path& path, DWORD access, DWORD disposition, DWORD flags = 0) {
    return CreateFileW(path.c_str(), access, kShareAll, nullptr, disposition, FILE_ATTRIBUTE_NORMAL | flags, nullptr);
}

// The handler runs on a thread of its own.
BOOL WINAPI RemoveNewFiles(DWORD event) {
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT || event == CTRL_CLOSE_EVENT) {
        gWorkFiles.ForEachKept([](const wchar_t* name) { DeleteFileW(name); });
    }
    return FALSE;  // the system's own handling then ends the program
}

}  // namespace

std::string Shown(const std::filesystem::path& path) { return Utf16ToUtf8(FromPath(path)); }

FileHandle OpenToRead(const std::filesystem::path& path) {
    // A folder cannot be read; say so as the other platforms do, not as "access denied".
    if (IsFolder(path)) {
        throw RunError(err::kPathFileAccess, "open " + Shown(path) + ": a folder");
    }
    const HANDLE h = Open(path, GENERIC_READ, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN);
    if (h == INVALID_HANDLE_VALUE) {
        ThrowLastError("open", path);
    }
    return h;
}

FileHandle CreateToWrite(const std::filesystem::path& path) {
    const HANDLE h = Open(path, GENERIC_WRITE, CREATE_ALWAYS);
    if (h == INVALID_HANDLE_VALUE) {
        ThrowLastError("create", path);
    }
    return h;
}

std::size_t ReadSome(FileHandle file, char* data, std::size_t size, const std::filesystem::path& path) {
    DWORD got = 0;
    if (!ReadFile(file, data, Portion(size), &got, nullptr)) {
        ThrowLastError("read", path);
    }
    return got;
}

std::size_t WriteSome(FileHandle file, std::string_view bytes, const std::filesystem::path& path) {
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), Portion(bytes.size()), &written, nullptr)) {
        ThrowLastError("write", path);
    }
    return written;
}

void Close(FileHandle file, const std::filesystem::path& path) {
    if (!CloseHandle(file)) {
        ThrowLastError("close", path);
    }
}

void CloseQuietly(FileHandle file) noexcept { CloseHandle(file); }

void RemoveQuietly(const std::filesystem::path& path) noexcept { DeleteFileW(path.c_str()); }

TargetFacts CheckReplaceable(const std::filesystem::path& target) {
    if (IsFolder(target)) {
        throw RunError(err::kPathFileAccess, "replace " + Shown(target) + ": a folder");
    }
    if (GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return {};
    }
    // A file that could not be written in place (read-only, denied, or held open by a
    // program that lets nobody write it) is not replaced either.
    const HANDLE h = Open(target, GENERIC_WRITE, OPEN_EXISTING);
    if (h == INVALID_HANDLE_VALUE) {
        ThrowLastError("replace", target);
    }
    CloseHandle(h);
    return {true, 0};
}

void InstallRemovalHandler() { SetConsoleCtrlHandler(RemoveNewFiles, TRUE); }

// The console handler runs on a thread of its own and cannot be held back; keeping the
// name before the file is made is what keeps it from missing the file.
void WithEndingHeld(const std::function<void()>& make) { make(); }

FileHandle CreateNew(const std::filesystem::path& path, bool lastAttempt) {
    const HANDLE h = Open(path, GENERIC_WRITE, CREATE_NEW);
    if (h != INVALID_HANDLE_VALUE) {
        return h;
    }
    const DWORD e = GetLastError();
    if ((e != ERROR_FILE_EXISTS && e != ERROR_ALREADY_EXISTS) || lastAttempt) {
        ThrowWin32(e, "create " + Shown(path));
    }
    return kNoFile;
}

// Windows has no permission bits to copy: the new file has its folder's permissions.
void CopyPermissions(FileHandle /*file*/, const TargetFacts& /*target*/, const std::filesystem::path& /*path*/) {}

// FlushFileBuffers is the only request, and it waits.
void StartWriting(FileHandle /*file*/) noexcept {}

FileHandle OpenToFlush(const std::filesystem::path& path) {
    const HANDLE h = Open(path, GENERIC_WRITE, OPEN_EXISTING);
    if (h == INVALID_HANDLE_VALUE) {
        ThrowLastError("open", path);
    }
    return h;
}

void FlushAndClose(FileHandle file, const std::filesystem::path& path) {
    if (!FlushFileBuffers(file)) {
        const DWORD e = GetLastError();
        CloseHandle(file);
        ThrowWin32(e, "flush " + Shown(path));
    }
    Close(file, path);
}

void MoveOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    // Write-through: the call returns once the rename is on the disk.
    if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ThrowLastError("replace", to);
    }
}

void Rename(const std::filesystem::path& from, const std::filesystem::path& to) { MoveOver(from, to); }

// Each rename was written through: nothing is left to make durable.
void SyncFolder(const std::filesystem::path& /*folder*/) noexcept {}

bool MoveQuietly(const std::filesystem::path& from, const std::filesystem::path& to) noexcept {
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

}  // namespace qb::detail

namespace qb {

std::optional<FileId> IdentityOf(const std::filesystem::path& path) noexcept {
    // No access asked: only the file's information is read; a folder opens too.
    const HANDLE h =
        CreateFileW(path.c_str(), 0, detail::kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const BOOL got = GetFileInformationByHandle(h, &info);
    CloseHandle(h);
    if (!got) {
        return std::nullopt;
    }
    return FileId{info.dwVolumeSerialNumber, (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

}  // namespace qb
