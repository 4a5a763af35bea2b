#pragma once
// The encoding of an article: recognised per file, or fixed by the user, and the decoder
// that turns its bytes into text.

#include <cstddef>
#include <istream>
#include <string>
#include <string_view>

#include "common/utf8_decode.h"
#include "encoding/cp932.h"

namespace qb {

// How articles are read.
enum class ArticleEncoding {
    Auto,      // recognised per article (below)
    ShiftJis,  // code page 932, always
    Utf8,      // UTF-8, always; a byte-order mark is dropped
};

enum class TextEncoding { Cp932, Utf8 };

struct ArticleStart {
    TextEncoding encoding = TextEncoding::Cp932;
    std::size_t markLength = 0;  // bytes of the byte-order mark to pass over
};

inline constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// Decides how an article is read, from the first bytes of the file (head) and, when
// more may follow it, the rest of the file from in, which stands just after the head and
// is put back there. Under Auto a file starting with EF BB BF is UTF-8; otherwise a
// file that is well-formed UTF-8 and holds at least one character beyond ASCII is UTF-8;
// anything else is code page 932. Reads at most chunkSize bytes at a time and stops at
// the first byte that is not UTF-8. Throws RunError (57) when in cannot be read or put
// back (a pipe).
[[nodiscard]] ArticleStart RecogniseArticle(ArticleEncoding request, std::string_view head, std::istream* in,
                                            std::size_t chunkSize);

// Article bytes to text, line by line, in either encoding.
class TextDecoder {
public:
    explicit TextDecoder(TextEncoding encoding) : encoding_(encoding) {}

    void Feed(std::string_view bytes, std::u16string& out) {
        if (encoding_ == TextEncoding::Utf8) {
            utf8_.Feed(bytes, out);
        } else {
            cp932_.Feed(bytes, out);
        }
    }
    // Ends a line: a character left incomplete becomes a substitute.
    void Finish(std::u16string& out) {
        if (encoding_ == TextEncoding::Utf8) {
            utf8_.Finish(out);
        } else {
            cp932_.Finish(out);
        }
    }

private:
    TextEncoding encoding_;
    cp932::Decoder cp932_;
    Utf8Decoder utf8_;
};

}  // namespace qb
