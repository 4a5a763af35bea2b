#include <unistd.h>

#include <cerrno>

#include "cli/console.h"

namespace qb::cli {

std::vector<std::string> ProgramArguments(int argc, char** argv) { return {argv + 1, argv + argc}; }

std::filesystem::path ArgumentPath(const std::string& arg) { return std::filesystem::path(arg); }

void Write(Stream stream, std::string_view utf8) {
    const int fd = stream == Stream::Out ? STDOUT_FILENO : STDERR_FILENO;
    while (!utf8.empty()) {
        const ssize_t n = ::write(fd, utf8.data(), utf8.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return;  // nowhere to say it
        }
        utf8.remove_prefix(static_cast<std::size_t>(n));
    }
}

}  // namespace qb::cli
