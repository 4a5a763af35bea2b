#include "encoding/cp932.h"

namespace qb::cp932 {

std::u16string Decode(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    Decoder decoder;
    decoder.Feed(bytes, out);
    decoder.Finish(out);
    return out;
}

std::string Encode(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    Encoder encoder;
    encoder.Feed(text, out);
    encoder.Finish(out);
    return out;
}

}  // namespace qb::cp932
