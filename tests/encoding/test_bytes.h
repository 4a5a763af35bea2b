#pragma once
// Byte helpers shared by the encoding tests.

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "common/run_error.h"

namespace qb::test {

inline std::string Bytes(std::initializer_list<int> values) {
    std::string s(values.size(), '\0');
    std::transform(values.begin(), values.end(), s.begin(), [](int v) { return static_cast<char>(v); });
    return s;
}

inline std::vector<std::uint8_t> Array(const std::string& s) { return {s.begin(), s.end()}; }

inline std::string Str(const std::vector<std::uint8_t>& a) { return {a.begin(), a.end()}; }

// "41 82 A0" for failure messages.
inline std::string Hex(const std::string& s) {
    std::ostringstream out;
    const char* digits = "0123456789ABCDEF";
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        out << (i ? " " : "") << digits[b >> 4U] << digits[b & 0xFU];
    }
    return out.str();
}

// The bytes of a conversion, or its failure number.
struct Outcome {
    std::string bytes;
    int error = 0;
    bool operator==(const Outcome&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Outcome& o) {
    return o.error ? out << "error " << o.error : out << "[" << Hex(o.bytes) << "]";
}

// A whole-array conversion of input, as its bytes or its failure.
template <typename F>
Outcome Whole(F convert, const std::string& input) {
    try {
        return {Str(convert(Array(input))), 0};
    } catch (const qb::RunError& e) {
        return {{}, e.Number()};
    }
}

}  // namespace qb::test
