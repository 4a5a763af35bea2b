#pragma once
// Raw file access for writing the import file, one implementation (file_io.cpp) over
// the primitives of each platform (file_platform.h): reading a file in chunks, and
// replacing a file's content safely. The new bytes go to a new file in the same folder,
// which is flushed to the disk and renamed over the old file only when every byte has been
// written. A failure part-way leaves the old file whole and removes the new one. File
// errors throw RunError; a failing write or close after writing is 61 when the disk is
// full and 57 otherwise, and creating a file in a missing folder is 76.
//
// New files are named as temp_files.h describes. While one exists, its name is kept in
// fixed storage, and the program's ending by SIGTERM, SIGINT or SIGHUP removes it first;
// the program then ends by the same signal, which a shell reports as 128 + its number.
// This covers those of the three signals that still had their default action when the
// first new file was made (an ignored SIGHUP under nohup stays ignored). Nothing else is
// done on a signal. On Windows the console's Ctrl+C, Ctrl+Break and close events do the
// same (the program then ends with the system's exit code for them).

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

namespace detail {
#ifdef _WIN32
using FileHandle = void*;  // a Win32 HANDLE
inline constexpr FileHandle kNoFile = nullptr;
#else
using FileHandle = int;  // a file descriptor
inline constexpr FileHandle kNoFile = -1;
#endif
}  // namespace detail

// What tells one file from another whatever its name (links followed): the volume and
// the file's number on it.
struct FileId {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;

    bool operator==(const FileId&) const = default;
    bool operator<(const FileId& other) const {
        return volume != other.volume ? volume < other.volume : index < other.index;
    }
};

// The file's identity; nothing when it does not exist or cannot be looked at.
[[nodiscard]] std::optional<FileId> IdentityOf(const std::filesystem::path& path) noexcept;

class InputFile {
public:
    explicit InputFile(const std::filesystem::path& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Reads up to buffer.size() bytes into buffer; an empty view at the end of the file.
    std::string_view Read(std::string& buffer);
    // Closes the file before its end, so that it can be replaced (Windows refuses to
    // replace a file that is open). Reading afterwards gives nothing.
    void Close() noexcept;

private:
    std::filesystem::path path_;
    detail::FileHandle fd_ = detail::kNoFile;
};

// A file written from its start: created, or emptied when it exists. On Windows others
// may delete it while it is open, so that the console handler can remove a work file
// that is being written. File errors throw RunError.
class OutputFile {
public:
    explicit OutputFile(const std::filesystem::path& path);
    // Closes quietly when Close() has not.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void Write(std::string_view bytes);
    void Close();

private:
    std::filesystem::path path_;
    detail::FileHandle fd_ = detail::kNoFile;
};

class ReplacementFile {
public:
    // Creates the new file, empty, beside target (beside the file a link names), with
    // target's permission bits when target exists. Throws RunError: 75 when target is a
    // folder, 70 when it exists but may not be written, the file system's error otherwise.
    explicit ReplacementFile(const std::filesystem::path& target);
    // Removes the new file unless Commit() or KeepAs() has moved it.
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // The new file, for others to write or read by its name after Close().
    [[nodiscard]] const std::filesystem::path& Path() const { return temp_; }

    void Write(std::string_view bytes);
    // Closes the new file without flushing it to the disk; it stays ours as before.
    void Close();
    // Flushes the new file to the disk, closes it and renames it over target.
    void Commit();
    // Closes the new file and renames it to other (replacing a file of that name) instead
    // of target. When that fails the new file is removed; returns whether it was kept.
    bool KeepAs(const std::filesystem::path& other) noexcept;

private:
    std::filesystem::path target_;
    std::filesystem::path temp_;
    detail::FileHandle fd_ = detail::kNoFile;
    int slot_ = -1;      // where the name is kept for removal on a signal; -1: not kept
    bool done_ = false;  // moved by Commit() or KeepAs()
};

// Several files that replace their targets together: each is written into a work file
// named after base ("<base>-1", "<base>-2" ...), and only Commit() renames them, one
// after another, over their targets. base is a work file of the caller's, made anew, so
// that no other run uses those names. The work files are removed when the program is
// ended, as a ReplacementFile's, however many there are.
class ReplacementSet {
public:
    explicit ReplacementSet(std::filesystem::path base);
    // Removes every work file that Commit() has not moved.
    ~ReplacementSet();
    ReplacementSet(const ReplacementSet&) = delete;
    ReplacementSet& operator=(const ReplacementSet&) = delete;

    // Closes the file before and starts the next one. Its target is named only at
    // Commit(), when the number of files, and so their names, are known.
    void Add();
    // Writes to the file started last.
    void Write(std::string_view bytes);
    // Closes the file started last; the files are the caller's to read by name.
    void Close();
    [[nodiscard]] const std::vector<std::filesystem::path>& Files() const { return members_; }
    // Puts file i in place of targets[i] (a link is followed), one target for each file.
    // Every target is checked first, and throws as ReplacementFile's does for one that may
    // not be replaced, before any file is moved. Then every file is flushed to the disk,
    // and only then renamed over its target, in order, with the program's ending held back
    // meanwhile where the platform can hold it.
    void Commit(const std::vector<std::filesystem::path>& targets);

private:
    std::filesystem::path base_;
    std::vector<std::filesystem::path> members_;
    detail::FileHandle fd_ = detail::kNoFile;
    int slot_ = -1;
    bool done_ = false;
};

}  // namespace qb
