// Fuzzes article reading in each article encoding (auto, Shift_JIS, UTF-8): read in
// chunks of a random size with a title held only in part, an article gives the import
// file bytes (title line and body), the title and the messages of reading it whole.
//
// The same article's text as one body line also goes through the line breaker with a small
// limit: in pieces it gives the bytes it gives whole, no line passes the limit unless a tag
// was too long to break, and taking the breaks out gives the line back.
//
// Input: the first byte picks the encoding (bits 0-1), the first-line and break modes
// (bits 2-3) and the chunk size (bits 4-7); the second the title held; the rest is the
// article.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>

#include "export/long_lines.h"
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

    std::u16string line = qb::cp932::Decode(std::string(reinterpret_cast<const char*>(data + 2), size - 2));
    std::erase_if(line, [](char16_t c) { return c == u'\r' || c == u'\n'; });
    static const qb::OutputEncoding kOutputs[] = {qb::OutputEncoding::ShiftJis, qb::OutputEncoding::EucJp,
                                                  qb::OutputEncoding::Utf8, qb::OutputEncoding::Utf8};
    const qb::LineRules rules{kOutputs[data[1] & 3U], (data[1] & 4U) != 0 ? qb::LineEnds::Lf : qb::LineEnds::CrLf,
                              qb::PlatformChars::Keep, std::size_t{24} + (data[1] >> 3U)};
    const auto write = [&](std::size_t piece, qb::LineLosses& losses) {
        qb::LineWriter writer(rules);
        writer.BeginLine(qb::LineKind::Body);
        std::string bytes;
        for (std::size_t at = 0; at < line.size(); at += piece) {
            writer.Feed(std::u16string_view(line).substr(at, piece), bytes);
        }
        writer.EndLine(bytes);
        losses = writer.Losses();
        return bytes;
    };
    qb::LineLosses losses;
    const std::string inOne = write(line.size() + 1, losses);
    qbfuzz::Require(write(pieces.chunkSize, losses) == inOne, "the line in pieces gives the bytes of the whole");
    std::string joined = qbtest::WithoutBreaks(inOne);
    std::erase(joined, '\r');
    std::erase(joined, '\n');
    qbfuzz::Require(joined == qb::cp932::Encode(line), "without its breaks the line is the same");
    if (losses.tagsWhole == 0) {
        std::string written;
        try {
            written = qbtest::AsWritten(inOne, rules.encoding, rules.lineEnds);
        } catch (const qb::RunError&) {
            return 0;  // a character EUC-JP has no code for
        }
        for (std::size_t at = 0; at < written.size();) {
            const std::size_t end = written.find('\n', at) + 1;
            qbfuzz::Require(end - at <= rules.limit, "no line longer than the limit");
            at = end;
        }
    }
    return 0;
}
