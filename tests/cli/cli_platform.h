#pragma once
// What the exporter's tests need of the platform (cli_platform_posix.cpp,
// cli_platform_win32.cpp): starting the built program, and a converter of its own to
// check the program's output against.

#include <filesystem>
#include <string>
#include <vector>

namespace qbtest {

struct Result {
    int exit = -1;
    std::string out;
    std::string err;
};

// Runs the exporter in folder cwd with the arguments (UTF-8), capturing its output.
Result RunCli(const std::filesystem::path& cwd, const std::vector<std::string>& args);

// Shift_JIS (JIS X 0208 text) in "utf-8", "euc-jp" or "shift_jis", by the platform's
// own converter.
std::string InEncoding(const std::string& sjis, const std::string& encoding);

}  // namespace qbtest
