#pragma once
// Reading an article line by line, each line in pieces of bounded size, so that a line
// of any length is read in bounded memory. A line ends at CR LF, at a CR alone or at a
// LF alone; the line end is not part of the line; a last line without line end is still
// a line, and a file ending in a line end has no empty line after it. Works on bytes, so
// it serves any ASCII-compatible encoding (CR and LF never occur inside a code page 932
// or UTF-8 character).

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qb {

namespace detail {
// An allocator whose resize leaves new bytes as they are: the reader reads over them at
// once, and zeroing a chunk for every article would cost more than reading it. The names
// are those the standard library asks an allocator for.
// NOLINTBEGIN(readability-identifier-naming)
template <class T>
struct Uninitialised : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = Uninitialised<U>;
    };
    template <class U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};
// NOLINTEND(readability-identifier-naming)
}  // namespace detail

class LineReader {
public:
    // offset: the position in the file at which in stands, for LineStart().
    explicit LineReader(std::istream& in, std::size_t chunkSize = std::size_t{64} * 1024, std::uint64_t offset = 0);

    // The first chunk of the input (at least atLeast bytes, where the input has them),
    // read ahead for a look at how the input begins; empty for an empty input. Call
    // before the first line.
    std::string_view Head(std::size_t atLeast = 1);
    // Whether more input may follow the head.
    [[nodiscard]] bool MoreAfterHead() const { return !eof_; }
    // Passes over the first count bytes of the head (a byte-order mark).
    void Skip(std::size_t count);

    // Starts the next line, passing over what is left of the current one. False at the end.
    bool StartLine();
    // The next piece of the current line, never empty; false once the line has ended. The
    // piece stays valid until the next call.
    bool NextPiece(std::string_view& piece);
    // Reads the next line whole into line. False at the end.
    bool Next(std::string& line);
    // No line left. Throws like the reading calls.
    [[nodiscard]] bool AtEnd();
    // The position in the file at which the current line begins.
    [[nodiscard]] std::uint64_t LineStart() const { return lineStart_; }

    // All reading calls throw RunError (57, device I/O error) when the stream fails.

private:
    bool Fill();
    std::size_t NextLineEnd();
    [[nodiscard]] std::string_view Buffered() const { return {buffer_.data(), buffer_.size()}; }

    std::istream& in_;
    std::vector<char, detail::Uninitialised<char>> buffer_;
    std::size_t pos_ = 0;
    std::size_t chunkSize_;
    std::uint64_t bufferStart_;  // the file position of buffer_[0]
    std::uint64_t lineStart_ = 0;
    // Where the next CR and the next LF are in buffer_ (its size: none), searched from a
    // place at or before pos_; not yet searched when searched_ is false.
    std::size_t nextCr_ = 0;
    std::size_t nextLf_ = 0;
    bool searched_ = false;
    bool eof_ = false;
    bool inLine_ = false;
};

}  // namespace qb
