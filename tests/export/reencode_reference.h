#pragma once
// The re-encoding of a first-pass file done the simple way, on the whole buffer: what the
// streamed re-encoding must give for any content.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "common/run_error.h"
#include "encoding/cp932.h"
#include "encoding/kanji_convert.h"
#include "encoding/utf8_encode.h"
#include "export/reencode.h"
#include "support/test_support.h"

namespace qbtest {

using qb::LineEnds;
using qb::OutputEncoding;

// What a re-encoding did: its result or failure number, and the file afterwards.
struct Outcome {
    int error = 0;
    bool utf8Failed = false;
    std::string file;
    bool operator==(const Outcome&) const = default;
};

// The re-encoding done the simple way: the whole file read back line by line into one
// text, converted at once.
inline Outcome Reference(const std::string& content, OutputEncoding encoding, LineEnds lineEnds) {
    const auto ends = [&](const std::string& bytes) { return lineEnds == LineEnds::Lf ? CrLfToLf(bytes) : bytes; };
    if (encoding == OutputEncoding::ShiftJis) {
        return {0, false, ends(content)};
    }
    // A line ends at CR LF or a lone CR; a lone LF stays in its line.
    std::u16string text;
    for (std::size_t pos = 0; pos < content.size();) {
        const std::size_t cr = std::min(content.find('\r', pos), content.size());
        text += qb::cp932::Decode(content.substr(pos, cr - pos)) + u"\r\n";
        pos = cr + (content.compare(cr, 2, "\r\n") == 0 ? 2 : 1);
    }
    if (encoding == OutputEncoding::EucJp) {
        try {
            const qb::ByteArray euc = qb::StrToEuc(text);
            return {0, false, ends(std::string(euc.begin(), euc.end()))};
        } catch (const qb::RunError& e) {
            return {e.Number(), false, content};
        }
    }
    if (encoding == OutputEncoding::Utf8) {
        std::vector<std::uint8_t> bytes;
        if (qb::EncodeUtf8(text, bytes) == 0) {
            return {0, true, content};
        }
        return {0, false, ends(std::string(bytes.begin(), bytes.end()))};
    }
    return {0, false, content};
}

}  // namespace qbtest
