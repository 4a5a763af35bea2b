#pragma once
// Reading UTF-8 text incrementally, so that a file can be taken in chunks with exactly
// the result of taking it whole: a decoder to UTF-16 and a check of well-formedness.
// Well-formed means the byte sequences of the Unicode standard: no overlong forms, no
// surrogates, nothing above U+10FFFF.

#include <string>
#include <string_view>

namespace qb {

// Appends a code point to UTF-16 text, as a surrogate pair beyond U+FFFF.
void AppendCodePoint(char32_t c, std::u16string& out);

// One character's bytes as they come.
class Utf8Sequence {
public:
    enum class Step {
        More,      // the byte belongs to a character not yet complete
        Char,      // a character is complete: CodePoint()
        Bad,       // the byte cannot start a character
        BadAgain,  // the byte cannot go on the character begun: that beginning is bad,
                   // and the byte must be taken again as the start of a new one
    };

    Step Take(unsigned char byte) {
        if (need_ == 0) {
            return Start(byte);
        }
        if (byte < low_ || byte > high_) {
            need_ = 0;
            return Step::BadAgain;
        }
        codePoint_ = codePoint_ << 6U | (byte & 0x3FU);
        low_ = 0x80;
        high_ = 0xBF;
        return --need_ == 0 ? Step::Char : Step::More;
    }

    [[nodiscard]] char32_t CodePoint() const { return codePoint_; }
    // Inside a character that has not been completed.
    [[nodiscard]] bool Open() const { return need_ != 0; }
    void Clear() { need_ = 0; }

private:
    Step Start(unsigned char byte);

    char32_t codePoint_ = 0;
    int need_ = 0;              // continuation bytes still to come
    unsigned char low_ = 0x80;  // the range of the next continuation byte
    unsigned char high_ = 0xBF;
};

// UTF-8 to UTF-16. Ill-formed input becomes U+FFFD, one for each maximal part that
// could have begun a character; nothing else is dropped.
class Utf8Decoder {
public:
    // Appends the text of the bytes to out; an incomplete character at the end waits.
    void Feed(std::string_view bytes, std::u16string& out);
    // Ends the input: an incomplete character still waiting becomes U+FFFD.
    void Finish(std::u16string& out);

private:
    Utf8Sequence sequence_;
};

// Whether bytes are well-formed UTF-8, and whether they hold a character beyond ASCII.
class Utf8Check {
public:
    // False from the first ill-formed byte on.
    bool Feed(std::string_view bytes);
    // Ends the input: false when it was ill-formed or ends inside a character.
    [[nodiscard]] bool Finish() const { return valid_ && !sequence_.Open(); }
    [[nodiscard]] bool Valid() const { return valid_; }
    [[nodiscard]] bool SawMultiByte() const { return multiByte_; }

private:
    Utf8Sequence sequence_;
    bool valid_ = true;
    bool multiByte_ = false;
};

}  // namespace qb
