#pragma once
// Code page 932 (Shift_JIS with Microsoft's extensions) as Windows defines it:
// bytes to UTF-16 text and back, on whole buffers.
//
// Decoding: the single bytes 0x80, 0xA0, 0xFD, 0xFE, 0xFF become U+0080, U+F8F0,
// U+F8F1, U+F8F2, U+F8F3; a byte that cannot start a character here (a lead byte with
// no valid second byte, or a pair the code page leaves unassigned) becomes one U+30FB
// and decoding goes on at the next byte.
// Encoding: what Windows prefers (U+2170 to FA 40, U+7E8A to FA 5C, U+2252 to 81 E0...);
// U+0080 and U+F8F0..U+F8F3 map back to their single bytes; anything else the code page
// cannot hold becomes one "?" per surrogate pair or lone code unit.
//
// The decoder and encoder are incremental, so a file can be converted in chunks with
// exactly the result of converting it whole: a lead byte (or a high surrogate) at the
// end of one chunk waits for the next.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace qb::cp932 {

inline constexpr char16_t kBadByteChar = u'\u30FB';
inline constexpr char kUnmappableByte = '?';

class Decoder {
public:
    Decoder();
    ~Decoder();
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    // Appends the text of the bytes to out; a trailing lead byte is kept back.
    void Feed(std::string_view bytes, std::u16string& out);
    // Ends the input: a lead byte still kept back becomes U+30FB.
    void Finish(std::u16string& out);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

class Encoder {
public:
    Encoder();
    ~Encoder();
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;

    // Appends the bytes of the text to out; a trailing high surrogate is kept back.
    void Feed(std::u16string_view text, std::string& out);
    // Ends the input: a high surrogate still kept back becomes "?".
    void Finish(std::string& out);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The bytes each UTF-16 code unit is encoded to, indexed by the code unit (0x10000
// entries): below 0x100 one byte, otherwise two (lead << 8 | second); kNoCode for a
// surrogate or a code unit the code page cannot hold (written "?").
inline constexpr std::uint16_t kNoCode = 0xFFFF;
[[nodiscard]] const std::uint16_t* CodeTable();

// Whole-buffer conversions.
[[nodiscard]] std::u16string Decode(std::string_view bytes);
[[nodiscard]] std::string Encode(std::u16string_view text);

}  // namespace qb::cp932
