// Fuzzes article reading in each article encoding (auto, Shift_JIS, UTF-8): read in
// chunks of a random size with a title held only in part, an article gives the import
// file bytes (title line and body), the title and the messages of reading it whole.
//
// Input: the first byte picks the encoding (bits 0-1), the first-line and break modes
// (bits 2-3) and the chunk size (bits 4-7); the second the title held; the rest is the
// article.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>

#include "fuzz/fuzz_support.h"
#include "support/test_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    static const qb::ArticleEncoding kEncodings[] = {qb::ArticleEncoding::Auto, qb::ArticleEncoding::ShiftJis,
                                                     qb::ArticleEncoding::Utf8, qb::ArticleEncoding::Auto};
    const qbtest::Reading whole{.encoding = kEncodings[data[0] & 3U],
                                .titleMode = static_cast<qb::TitleMode>(data[0] >> 2U & 1U),
                                .breaks = (data[0] >> 3U & 1U) != 0};
    qbtest::Reading pieces = whole;
    pieces.chunkSize = 1 + (data[0] >> 4U);
    pieces.titleHeld = data[1];
    const std::filesystem::path& folder = qbfuzz::ScratchFolder();
    qbtest::WriteBytes(folder / "a.txt", std::string(reinterpret_cast<const char*>(data + 2), size - 2));

    qbtest::Transcribed expected = qbtest::Transcribe(folder / "a.txt", folder / "out.txt", whole);
    const qbtest::Transcribed got = qbtest::Transcribe(folder / "a.txt", folder / "out.txt", pieces);
    expected.title.resize(std::min(expected.title.size(), pieces.titleHeld));
    qbfuzz::Require(got == expected, "in pieces the same title, body lines and failures as whole");
    qbfuzz::Require(expected.error == 0 && expected.messages.empty(), "a readable article reads without failure");
    return 0;
}
