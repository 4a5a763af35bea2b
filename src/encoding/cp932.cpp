// Code page 932 through lookup tables. The platform's converter (cp932_platform.h) is
// the authority for every mapping, but it is asked only once per character: the first
// converter built takes every single byte, every lead and second byte pair and every
// UTF-16 code unit through it into the tables, and conversion is then a table look-up
// per character. Windows' own single bytes 0x80, 0xA0 and 0xFD..0xFF and the replacement
// characters for what cannot be converted are the same on every platform.

#include "encoding/cp932.h"

#include <array>
#include <cstdint>
#include <vector>

#include "encoding/cp932_platform.h"
#include "encoding/cp932_special.h"

namespace qb::cp932 {

namespace {

constexpr std::uint16_t kUnmappable = kNoCode;  // no code page 932 bytes for this code unit

struct DecodeTables {
    std::array<bool, 256> isLead{};      // starts a two-byte character
    std::array<char16_t, 256> single{};  // the character of a byte that is not a lead byte
    std::vector<char16_t> pair;          // [lead << 8 | second]; 0 when not a character

    explicit DecodeTables(detail::PlatformCodePage& platform) : pair(0x10000, 0) {
        for (int b = 0; b < 256; ++b) {
            const auto byte = static_cast<unsigned char>(b);
            // Windows' own single bytes, which other converters reject.
            if (const auto special = detail::SpecialByteToChar(byte)) {
                single[byte] = *special;
                continue;
            }
            const char one = static_cast<char>(byte);
            if (const auto c = platform.Decode(std::string_view(&one, 1))) {
                single[byte] = *c;
                continue;
            }
            // A byte that only starts pairs, or a bad byte.
            single[byte] = kBadByteChar;
            for (int second = 0; second < 256; ++second) {
                const char two[2] = {one, static_cast<char>(second)};
                if (const auto c = platform.Decode(std::string_view(two, 2))) {
                    pair[static_cast<std::size_t>(b << 8 | second)] = *c;
                    isLead[byte] = true;
                }
            }
        }
    }
};

struct EncodeTable {
    std::vector<std::uint16_t> bytes;  // [code unit]: one byte (< 0x100), two bytes, or kUnmappable

    explicit EncodeTable(detail::PlatformCodePage& platform) : bytes(0x10000, kUnmappable) {
        for (std::uint32_t u = 0; u < 0x10000; ++u) {
            const auto c = static_cast<char16_t>(u);
            if (detail::IsHighSurrogate(c) || detail::IsLowSurrogate(c)) {
                continue;
            }
            if (const auto special = detail::SpecialCharToByte(c)) {
                bytes[u] = *special;
            } else if (const auto e = platform.Encode(c)) {
                bytes[u] = *e;
            }
        }
    }
};

const DecodeTables& Decoding() {
    static const DecodeTables tables = [] {
        detail::PlatformCodePage platform;
        return DecodeTables(platform);
    }();
    return tables;
}

const EncodeTable& Encoding() {
    static const EncodeTable table = [] {
        detail::PlatformCodePage platform;
        return EncodeTable(platform);
    }();
    return table;
}

}  // namespace

// ---- Decoder ---------------------------------------------------------------------

struct Decoder::Impl {
    const DecodeTables& tables = Decoding();
    int pending = -1;  // a lead byte waiting for its second byte
};

Decoder::Decoder() : impl_(std::make_unique<Impl>()) {}
Decoder::~Decoder() = default;

void Decoder::Feed(std::string_view bytes, std::u16string& out) {
    if (bytes.empty()) {
        return;
    }
    const DecodeTables& t = impl_->tables;
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    const std::size_t base = out.size();
    out.resize(base + n + 1);  // one code unit per byte at most, plus a kept lead byte's
    char16_t* o = out.data() + base;
    if (impl_->pending >= 0) {
        const char16_t c = t.pair[static_cast<std::size_t>(impl_->pending << 8 | in[0])];
        if (c != 0) {
            *o++ = c;
            i = 1;
        } else {
            *o++ = kBadByteChar;  // a bad lead byte; the new byte starts afresh
        }
        impl_->pending = -1;
    }
    while (i < n) {
        const unsigned char b = in[i];
        if (!t.isLead[b]) {
            *o++ = t.single[b];
            ++i;
            continue;
        }
        if (i + 1 == n) {
            impl_->pending = b;
            break;
        }
        const char16_t c = t.pair[static_cast<std::size_t>(b << 8 | in[i + 1])];
        if (c != 0) {
            *o++ = c;
            i += 2;
        } else {
            *o++ = kBadByteChar;
            ++i;
        }
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
}

void Decoder::Finish(std::u16string& out) {
    if (impl_->pending >= 0) {
        out.push_back(kBadByteChar);
        impl_->pending = -1;
    }
}

// ---- Encoder ---------------------------------------------------------------------

struct Encoder::Impl {
    const EncodeTable& table = Encoding();
    char16_t pending = 0;  // a high surrogate waiting for its partner, or 0
};

Encoder::Encoder() : impl_(std::make_unique<Impl>()) {}
Encoder::~Encoder() = default;

void Encoder::Feed(std::u16string_view text, std::string& out) {
    if (text.empty()) {
        return;
    }
    const std::vector<std::uint16_t>& table = impl_->table.bytes;
    const std::size_t n = text.size();
    std::size_t i = 0;
    const std::size_t base = out.size();
    out.resize(base + 2 * n + 1);  // two bytes per code unit at most, plus a kept surrogate's
    char* o = out.data() + base;
    if (impl_->pending != 0) {
        // One "?" for the pair, or for the lone high surrogate (the new unit starts afresh).
        *o++ = kUnmappableByte;
        if (detail::IsLowSurrogate(text[0])) {
            i = 1;
        }
        impl_->pending = 0;
    }
    while (i < n) {
        const char16_t c = text[i];
        if (detail::IsHighSurrogate(c)) {
            if (i + 1 == n) {
                impl_->pending = c;
                break;
            }
            *o++ = kUnmappableByte;
            i += detail::IsLowSurrogate(text[i + 1]) ? 2 : 1;
            continue;
        }
        const std::uint16_t e = table[c];
        if (e < 0x100) {
            *o++ = static_cast<char>(e);
        } else if (e == kUnmappable) {
            *o++ = kUnmappableByte;
        } else {
            *o++ = static_cast<char>(e >> 8);
            *o++ = static_cast<char>(e & 0xFF);
        }
        ++i;
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
}

void Encoder::Finish(std::string& out) {
    if (impl_->pending != 0) {
        out.push_back(kUnmappableByte);
        impl_->pending = 0;
    }
}

const std::uint16_t* CodeTable() { return Encoding().bytes.data(); }

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
