#include "encoding/kanji_stream.h"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/run_error.h"
#include "encoding/kanji_convert.h"
#include "test_bytes.h"

namespace {

using qb::test::Bytes;
using qb::test::Hex;
using qb::test::Outcome;
using qb::test::Whole;

// What a stream gives when fed pieces one after the other, then ended.
template <typename Stream>
Outcome Fed(const std::vector<std::string>& pieces) {
    Stream stream;
    try {
        std::string out;
        for (const std::string& piece : pieces) {
            stream.Feed(piece, out);
        }
        stream.Finish(out);
        return {out, 0};
    } catch (const qb::RunError& e) {
        return {{}, e.Number()};
    }
}

template <typename Stream>
Outcome Streamed(const std::string& input, std::size_t chunk) {
    std::vector<std::string> pieces;
    for (std::size_t pos = 0; pos < input.size(); pos += chunk) {
        pieces.push_back(input.substr(pos, chunk));
    }
    return Fed<Stream>(pieces);
}

// Inputs built from the pieces that matter at a chunk edge: lead bytes with every kind
// of second byte, escapes whole and broken, kana, zero bytes, line ends.
std::vector<std::string> Corpus() {
    const std::vector<std::string> pieces = {
        "A",
        "\r\n",
        std::string(1, '\0'),
        Bytes({0x1B}),
        Bytes({0x1B, 0x24, 0x42}),
        Bytes({0x1B, 0x24, 0x40}),
        Bytes({0x1B, 0x28, 0x4A}),
        Bytes({0x1B, 0x28, 0x49}),
        Bytes({0x1B, 0x28, 0x42}),
        Bytes({0x1B, 0x24}),
        Bytes({0x82, 0xA0}),
        Bytes({0x88, 0x9F}),
        Bytes({0x81, 0x1F}),
        Bytes({0x81, 0xFC}),
        Bytes({0xB1}),
        Bytes({0xDF}),
        Bytes({0x80}),
        Bytes({0xA0}),
        Bytes({0xEE, 0xFC}),
        Bytes({0xF0, 0x40}),
        Bytes({0x30, 0x21}),
        Bytes({0x7F}),
        Bytes({0x21}),
    };
    std::vector<std::string> corpus = {
        "",
        "A",
        Bytes({0x82}),
        Bytes({0x41, 0x82, 0xA0, 0xB1}),
        Bytes({0xF1, 0x40, 0x41, 0x82}),
        Bytes({0xFA, 0x40, 0x81, 0x10}),
        Bytes({0x41, 0x1B, 0x24}),
        Bytes({0x1B, 0x24, 0x42, 0x30}),
        Bytes({0x1B, 0x1B, 0x24, 0x42, 0x21, 0x21}),
        Bytes({0x81, 0x1E}),
        Bytes({0x80, 0x0D, 0x0A}),
    };
    std::mt19937 rng(20261207);
    for (int n = 0; n < 300; ++n) {
        std::string s;
        const int count = static_cast<int>(rng() % 12);
        for (int k = 0; k < count; ++k) {
            s += pieces[rng() % pieces.size()];
        }
        corpus.push_back(s);
    }
    for (int n = 0; n < 100; ++n) {
        std::string s(rng() % 24, '\0');
        std::generate(s.begin(), s.end(), [&rng] { return static_cast<char>(rng()); });
        corpus.push_back(s);
    }
    return corpus;
}

// Every split gives what the whole input gives, for every chunk size up to the length.
TEST(KanjiStream, ChunkedEqualsWhole) {
    int failures = 0;
    int successes = 0;
    for (const std::string& input : Corpus()) {
        const Outcome stage1 = Whole(qb::SjisToJis, input);
        const Outcome stage2 = Whole(qb::JisToEuc, input);
        const std::string jis = stage1.bytes;
        const Outcome stage2OfJis = Whole(qb::JisToEuc, jis);
        // The chained stages: stage 1's failure, else stage 2 of stage 1's bytes.
        const Outcome both = stage1.error ? stage1 : stage2OfJis;
        (both.error ? failures : successes)++;
        for (std::size_t chunk = 1; chunk <= input.size() + 1; ++chunk) {
            ASSERT_EQ(Streamed<qb::SjisToJisStream>(input, chunk), stage1) << Hex(input) << " chunk " << chunk;
            ASSERT_EQ(Streamed<qb::JisToEucStream>(input, chunk), stage2) << Hex(input) << " chunk " << chunk;
            ASSERT_EQ(Streamed<qb::SjisToEucStream>(input, chunk), both) << Hex(input) << " chunk " << chunk;
        }
        for (std::size_t chunk = 1; chunk <= jis.size() + 1; ++chunk) {
            ASSERT_EQ(Streamed<qb::JisToEucStream>(jis, chunk), stage2OfJis) << Hex(jis) << " chunk " << chunk;
        }
    }
    // The corpus reaches both outcomes, so the comparison means something.
    EXPECT_GT(failures, 50);
    EXPECT_GT(successes, 50);
}

TEST(KanjiStream, EmptyPiecesChangeNothing) {
    EXPECT_EQ(Fed<qb::SjisToEucStream>({"", Bytes({0x82}), "", Bytes({0xA0})}), (Outcome{Bytes({0xA4, 0xA2}), 0}));
    EXPECT_EQ(Fed<qb::SjisToEucStream>({""}), (Outcome{{}, 9}));
}

}  // namespace
