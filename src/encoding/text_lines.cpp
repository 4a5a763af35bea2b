#include "encoding/text_lines.h"

#include <algorithm>
#include <cstring>

#include "common/run_error.h"

namespace qb {

LineReader::LineReader(std::istream& in, std::size_t chunkSize, std::uint64_t offset)
    : in_(in), chunkSize_(chunkSize == 0 ? 1 : chunkSize), bufferStart_(offset) {}

// Reads the next chunk; the bytes before pos_ are dropped first, so the buffer never
// holds more than the unread rest and one chunk.
bool LineReader::Fill() {
    if (eof_) {
        return false;
    }
    if (pos_ > 0) {
        buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(pos_));
        bufferStart_ += pos_;
        pos_ = 0;
    }
    searched_ = false;  // the new buffer is searched afresh
    const std::size_t old = buffer_.size();
    buffer_.resize(old + chunkSize_);
    in_.read(buffer_.data() + old, static_cast<std::streamsize>(chunkSize_));
    const auto got = static_cast<std::size_t>(in_.gcount());
    buffer_.resize(old + got);
    if (in_.bad()) {
        throw RunError(err::kDeviceIo, "read failed");
    }
    if (got < chunkSize_) {
        eof_ = true;
    }
    return got > 0;
}

std::string_view LineReader::Head(std::size_t atLeast) {
    while (buffer_.size() - pos_ < atLeast && Fill()) {
    }
    return Buffered().substr(pos_);
}

void LineReader::Skip(std::size_t count) { pos_ = std::min(pos_ + count, buffer_.size()); }

bool LineReader::AtEnd() {
    while (pos_ >= buffer_.size()) {
        if (!Fill()) {
            return true;
        }
    }
    return false;
}

bool LineReader::StartLine() {
    std::string_view rest;
    while (NextPiece(rest)) {
    }
    if (AtEnd()) {
        return false;
    }
    lineStart_ = bufferStart_ + pos_;
    inLine_ = true;
    return true;
}

bool LineReader::NextPiece(std::string_view& piece) {
    if (!inLine_) {
        return false;
    }
    if (AtEnd()) {
        inLine_ = false;  // a last line without line end
        return false;
    }
    const std::size_t end = NextLineEnd();
    if (end == pos_) {
        const bool cr = buffer_[pos_] == '\r';
        ++pos_;
        // A LF right after the CR belongs to the line end, even across a chunk edge.
        if (cr && !AtEnd() && buffer_[pos_] == '\n') {
            ++pos_;
        }
        inLine_ = false;
        return false;
    }
    piece = Buffered().substr(pos_, end - pos_);
    pos_ = end;
    return true;
}

// The first CR or LF at or after pos_, or the buffer's end. The places of the next CR
// and the next LF are kept between calls, so each byte is searched once.
std::size_t LineReader::NextLineEnd() {
    const auto find = [&](char c) {
        const void* at = std::memchr(buffer_.data() + pos_, c, buffer_.size() - pos_);
        return at == nullptr ? buffer_.size() : static_cast<std::size_t>(static_cast<const char*>(at) - buffer_.data());
    };
    if (!searched_ || nextCr_ < pos_) {
        nextCr_ = find('\r');
    }
    if (!searched_ || nextLf_ < pos_) {
        nextLf_ = find('\n');
    }
    searched_ = true;
    return std::min(nextCr_, nextLf_);
}

bool LineReader::Next(std::string& line) {
    if (!StartLine()) {
        return false;
    }
    line.clear();
    for (std::string_view piece; NextPiece(piece);) {
        line += piece;
    }
    return true;
}

}  // namespace qb
