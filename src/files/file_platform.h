#pragma once
// The primitives of the file layer that each platform provides (file_io_posix.cpp,
// file_io_win32.cpp); file_io.cpp builds the file classes of file_io.h over them. Each
// failure throws RunError with the platform error's number and a text naming the step
// and the path.

#include <climits>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <system_error>

#include "files/file_io.h"
#include "files/work_file_slots.h"

namespace qb::detail {

// The names of the live work files, read by the handler that removes them when the
// program is ended (file_io.h).
#ifdef _WIN32
using WorkFileNames = WorkFileSlots<wchar_t, std::size_t{260} * 4>;  // four times MAX_PATH
#else
using WorkFileNames = WorkFileSlots<char, PATH_MAX>;
#endif
extern WorkFileNames gWorkFiles;

// A path as the failure texts show it (UTF-8).
[[nodiscard]] std::string Shown(const std::filesystem::path& path);

[[nodiscard]] FileHandle OpenToRead(const std::filesystem::path& path);
// Creates path, or empties it when it exists. Creating a file in a folder that does not
// exist fails with 76 on every platform.
[[nodiscard]] FileHandle CreateToWrite(const std::filesystem::path& path);
// Reads up to size bytes; 0 at the end of the file.
[[nodiscard]] std::size_t ReadSome(FileHandle file, char* data, std::size_t size, const std::filesystem::path& path);
// Writes some of the bytes (0 when the call was interrupted and is to be repeated).
[[nodiscard]] std::size_t WriteSome(FileHandle file, std::string_view bytes, const std::filesystem::path& path);
void Close(FileHandle file, const std::filesystem::path& path);
void CloseQuietly(FileHandle file) noexcept;
void RemoveQuietly(const std::filesystem::path& path) noexcept;

// What ReplacementFile learns of the file it is to replace.
struct TargetFacts {
    bool exists = false;
    unsigned permissions = 0;  // the permission bits where the platform has them
};
// Throws when target may not be replaced: a folder, or a file that could not be written
// in place.
[[nodiscard]] TargetFacts CheckReplaceable(const std::filesystem::path& target);
// Makes the handler that removes the work files when the program is ended; called once.
void InstallRemovalHandler();
// Runs make with the program's ending held back where the platform can hold it, so
// that no ending comes between making a work file and keeping its name.
void WithEndingHeld(const std::function<void()>& make);
// Creates path, which must not exist yet. kNoFile when it does exist and lastAttempt is
// false: another name is to be tried.
[[nodiscard]] FileHandle CreateNew(const std::filesystem::path& path, bool lastAttempt);
// Gives a new file the permission bits of the file it replaces.
void CopyPermissions(FileHandle file, const TargetFacts& target, const std::filesystem::path& path);
// Asks the system to begin writing file's data to the disk now, without waiting, so that
// a later flush finds little left to write; where the platform has no such request,
// nothing.
void StartWriting(FileHandle file) noexcept;
// Opens a closed work file again by name to flush it.
[[nodiscard]] FileHandle OpenToFlush(const std::filesystem::path& path);
// Flushes file to the disk and closes it; closed also when the flush fails.
void FlushAndClose(FileHandle file, const std::filesystem::path& path);
// Renames from over to, durably: the rename is on the disk when the call returns.
void MoveOver(const std::filesystem::path& from, const std::filesystem::path& to);
// The same in two steps, for many renames into one folder: the renames, then the folder
// made durable once (where the platform needs it).
void Rename(const std::filesystem::path& from, const std::filesystem::path& to);
void SyncFolder(const std::filesystem::path& folder) noexcept;
// Renames from to to, replacing a file of that name; whether it was renamed.
[[nodiscard]] bool MoveQuietly(const std::filesystem::path& from, const std::filesystem::path& to) noexcept;

}  // namespace qb::detail
