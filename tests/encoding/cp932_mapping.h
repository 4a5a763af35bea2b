#pragma once
// The whole code page 932 mapping of the converter, in blocks: decoding block b holds the
// single byte b and every pair b, second; encoding block h holds every code unit
// h << 8 .. h << 8 | 0xFF. Each block is written out as text and reduced to a digest
// (64-bit FNV-1a), so that one table of digests pins every result on every platform.

#include <cstdint>
#include <cstdio>
#include <string>

#include "encoding/cp932.h"

namespace qb::test {

inline constexpr int kBlocks = 256;

// "41:0041 4142:0041,0042 ..." : each input in hex, then its result in hex.
inline std::string DecodeBlockText(int first) {
    std::string text;
    char buffer[16];
    const auto add = [&](const std::string& bytes) {
        for (const char b : bytes) {
            std::snprintf(buffer, sizeof buffer, "%02X", static_cast<unsigned char>(b));
            text += buffer;
        }
        char separator = ':';
        for (const char16_t c : cp932::Decode(bytes)) {
            std::snprintf(buffer, sizeof buffer, "%c%04X", separator, static_cast<unsigned>(c));
            text += buffer;
            separator = ',';
        }
        text += '\n';
    };
    add(std::string(1, static_cast<char>(first)));
    for (int second = 0; second < 256; ++second) {
        add(std::string{static_cast<char>(first), static_cast<char>(second)});
    }
    return text;
}

// "3042:82A0 ..." : each code unit, then its bytes.
inline std::string EncodeBlockText(int high) {
    std::string text;
    char buffer[16];
    for (int low = 0; low < 256; ++low) {
        const auto c = static_cast<char16_t>(high << 8 | low);
        std::snprintf(buffer, sizeof buffer, "%04X:", static_cast<unsigned>(c));
        text += buffer;
        for (const char b : cp932::Encode(std::u16string(1, c))) {
            std::snprintf(buffer, sizeof buffer, "%02X", static_cast<unsigned char>(b));
            text += buffer;
        }
        text += '\n';
    }
    return text;
}

inline std::uint64_t Digest(const std::string& text) {
    std::uint64_t h = 0xCBF29CE484222325ULL;
    for (const char c : text) {
        h = (h ^ static_cast<unsigned char>(c)) * 0x100000001B3ULL;
    }
    return h;
}

}  // namespace qb::test
