// Fuzzes the Shift_JIS to EUC-JP stages: each stage fed whole and in pieces of varying
// size, and both chained, must agree byte for byte and fail only with 6 or 9.
//
// Input: the first byte seeds the piece sizes, the rest is converted.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/run_error.h"
#include "encoding/kanji_convert.h"
#include "encoding/kanji_stream.h"
#include "fuzz/fuzz_support.h"

namespace {

struct Outcome {
    std::string bytes;
    int error = 0;
    bool operator==(const Outcome&) const = default;
};

void CheckNumber(int number) {
    qbfuzz::Require(number == qb::err::kOverflow || number == qb::err::kSubscript, "fails only with 6 or 9");
}

template <typename F>
Outcome Whole(F convert, std::string_view input) {
    try {
        const qb::ByteArray out = convert(qb::ByteArray(input.begin(), input.end()));
        return {std::string(out.begin(), out.end()), 0};
    } catch (const qb::RunError& e) {
        CheckNumber(e.Number());
        return {{}, e.Number()};
    }
}

template <typename Stream>
Outcome Streamed(std::string_view input, std::uint32_t seed) {
    Stream stream;
    try {
        std::string out;
        qbfuzz::ForEachPiece(input, seed, 7, [&](std::string_view piece) { stream.Feed(piece, out); });
        stream.Finish(out);
        return {out, 0};
    } catch (const qb::RunError& e) {
        CheckNumber(e.Number());
        return {{}, e.Number()};
    }
}

void Agree(const Outcome& a, const Outcome& b) { qbfuzz::Require(a == b, "pieces and whole agree"); }

void Check(std::uint32_t seed, std::string_view input) {
    const Outcome jis = Whole(qb::SjisToJis, input);
    // The chained stages: stage 1's failure, else stage 2 of stage 1's bytes.
    const Outcome euc = jis.error != 0 ? jis : Whole(qb::JisToEuc, jis.bytes);
    Agree(Streamed<qb::SjisToJisStream>(input, seed), jis);
    Agree(Streamed<qb::JisToEucStream>(input, seed), Whole(qb::JisToEuc, input));
    Agree(Streamed<qb::SjisToEucStream>(input, seed), euc);
    if (jis.error == 0) {
        Agree(Streamed<qb::JisToEucStream>(jis.bytes, seed + 1), euc);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return qbfuzz::WithFirstByte(data, size, Check);
}
