#pragma once
// The exporter's side of the platform: its arguments and its two output streams, one
// implementation per platform (console_posix.cpp, console_win32.cpp).

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qb::cli {

// The arguments after the program's name. On Windows they are read as UTF-16 (so that
// Japanese names arrive whole, whatever the code page) and handed on as UTF-8; elsewhere
// they are the bytes as given.
[[nodiscard]] std::vector<std::string> ProgramArguments(int argc, char** argv);

// The path an argument names: UTF-8 on Windows, the bytes as given elsewhere.
[[nodiscard]] std::filesystem::path ArgumentPath(const std::string& arg);

enum class Stream { Out, Error };

// Writes UTF-8 text. A Windows console is given the characters (WriteConsoleW); a file
// or a pipe gets the UTF-8 bytes on every platform, so that scripts see the same bytes.
void Write(Stream stream, std::string_view utf8);

}  // namespace qb::cli
