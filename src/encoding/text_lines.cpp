#include "encoding/text_lines.h"

#include "common/run_error.h"

namespace qb {

LineReader::LineReader(std::istream& in, std::size_t chunkSize) : in_(in), chunkSize_(chunkSize == 0 ? 1 : chunkSize) {}

bool LineReader::Fill() {
    if (eof_) {
        return false;
    }
    if (pos_ > 0) {
        buffer_.erase(0, pos_);
        pos_ = 0;
    }
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

bool LineReader::AtEnd() {
    while (pos_ >= buffer_.size()) {
        if (!Fill()) {
            return true;
        }
    }
    return false;
}

bool LineReader::Next(std::string& line) {
    if (AtEnd()) {
        return false;
    }
    line.clear();
    for (;;) {
        const std::size_t cr = buffer_.find('\r', pos_);
        if (cr == std::string::npos) {
            line.append(buffer_, pos_, std::string::npos);
            pos_ = buffer_.size();
            if (!Fill()) {
                return true;  // last line without terminator
            }
            continue;
        }
        line.append(buffer_, pos_, cr - pos_);
        pos_ = cr + 1;
        // A LF right after the CR belongs to the terminator, even across a chunk edge.
        if (pos_ >= buffer_.size()) {
            Fill();
        }
        if (pos_ < buffer_.size() && buffer_[pos_] == '\n') {
            ++pos_;
        }
        return true;
    }
}

}  // namespace qb
