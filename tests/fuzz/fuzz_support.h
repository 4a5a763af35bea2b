#pragma once
// What the fuzz targets share: a check that stops the run with a message (libFuzzer keeps
// the input that stopped it), the cutting of an input into its first byte and the rest and
// of bytes into pieces of random sizes, and a scratch folder for the targets that need files
// (written and read with the byte files of support/test_support.h).

#include <unistd.h>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qbfuzz {

// Ends the run when a property does not hold.
inline void Require(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", property);
        std::abort();
    }
}

// Runs check(first, rest) on a fuzz input cut into its first byte (the choices of a run)
// and the rest (the bytes to work on); an empty input is passed over. For the return of
// LLVMFuzzerTestOneInput.
template <typename Check>
int WithFirstByte(const std::uint8_t* data, std::size_t size, Check check) {
    if (size != 0) {
        check(data[0], std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
    }
    return 0;
}

// Hands input to feed in pieces of 1 to maxPiece bytes, sizes drawn from seed. Each piece
// is a copy of its own exact size, so that a read past its end is caught.
template <typename Char, typename Feed>
void ForEachPiece(std::basic_string_view<Char> input, std::uint32_t seed, std::size_t maxPiece, Feed feed) {
    std::size_t pos = 0;
    while (pos < input.size()) {
        seed = seed * 1103515245U + 12345U;
        const std::size_t size = std::min<std::size_t>(1 + (seed >> 16U) % maxPiece, input.size() - pos);
        const std::vector<Char> piece(input.begin() + static_cast<std::ptrdiff_t>(pos),
                                      input.begin() + static_cast<std::ptrdiff_t>(pos + size));
        feed(std::basic_string_view<Char>(piece.data(), piece.size()));
        pos += size;
    }
}

// A folder of this process's own for the files a target reads and writes, in memory where
// the system has /dev/shm (the export syncs what it writes); removed when the run ends
// normally.
inline const std::filesystem::path& ScratchFolder() {
    static const struct Folder {
        std::filesystem::path path =
            (std::filesystem::is_directory("/dev/shm") ? std::filesystem::path("/dev/shm")
                                                       : std::filesystem::temp_directory_path()) /
            ("qb-fuzz-" + std::to_string(::getpid()));
        Folder() { std::filesystem::create_directories(path); }
        ~Folder() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    } folder;
    return folder.path;
}

}  // namespace qbfuzz
