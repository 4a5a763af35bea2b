#include "encoding/kanji_convert.h"

#include <string>

#include "encoding/cp932.h"
#include "encoding/kanji_stream.h"

namespace qb {

namespace {

// A whole array through a stream: one piece, then the end of the input.
template <class Stream>
ByteArray Whole(std::string_view bytes) {
    Stream stream;
    std::string out;
    stream.Feed(bytes, out);
    stream.Finish(out);
    return {out.begin(), out.end()};
}

std::string_view View(const ByteArray& bytes) { return {reinterpret_cast<const char*>(bytes.data()), bytes.size()}; }

}  // namespace

ByteArray SjisToJis(const ByteArray& bytes) { return Whole<SjisToJisStream>(View(bytes)); }

ByteArray JisToEuc(const ByteArray& bytes) { return Whole<JisToEucStream>(View(bytes)); }

ByteArray SjisToEuc(const ByteArray& bytes) { return Whole<SjisToEucStream>(View(bytes)); }

ByteArray StrToEuc(std::u16string_view text) { return Whole<SjisToEucStream>(cp932::Encode(text)); }

}  // namespace qb
