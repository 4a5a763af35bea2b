#pragma once
// Reading a text file line by line as the classic sequential-file layer did: a line
// ends at CR LF or at a CR alone, the terminator is not part of the line, a LF alone
// stays inside the line, a last line without terminator is still a line, and a file
// ending in CR LF has no empty line after it. Works on bytes, so it serves any
// ASCII-compatible encoding (CR and LF never occur inside a code page 932 character).

#include <cstddef>
#include <istream>
#include <string>

namespace qb {

class LineReader {
public:
    explicit LineReader(std::istream& in, std::size_t chunkSize = std::size_t{64} * 1024);

    // Reads the next line into line (without its terminator). Returns false at the end.
    // Throws RunError (57, device I/O error) when the stream fails while reading.
    bool Next(std::string& line);
    [[nodiscard]] bool AtEnd();

private:
    bool Fill();

    std::istream& in_;
    std::string buffer_;
    std::size_t pos_ = 0;
    std::size_t chunkSize_;
    bool eof_ = false;
};

}  // namespace qb
