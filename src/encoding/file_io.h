#pragma once
// Raw file access for rewriting the import file, one implementation per platform
// (file_io_posix.cpp, file_io_win32.cpp): reading a file in chunks, and replacing a file's content
// safely. The new bytes go to a new file in the same folder, which is flushed to the disk
// and renamed over the old file only when every byte has been written. A failure part-way
// leaves the old file whole and removes the new one. File errors throw RunError.

#include <filesystem>
#include <string>
#include <string_view>

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

class ReplacementFile {
public:
    // Creates the new file beside target, with target's permission bits.
    // Throws RunError for file errors.
    explicit ReplacementFile(const std::filesystem::path& target);
    // Removes the new file unless Commit() has put it in place.
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    void Write(std::string_view bytes);
    // Flushes, closes and renames the new file over target.
    void Commit();

private:
    std::filesystem::path target_;
    std::filesystem::path temp_;
    detail::FileHandle fd_ = detail::kNoFile;
    bool committed_ = false;
};

}  // namespace qb
