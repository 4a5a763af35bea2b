// Fuzzes article reading in each article encoding (auto, Shift_JIS, UTF-8): read in
// chunks of a random size with a title held only in part, an article gives the import
// file bytes (title line and body), the title and the messages of reading it whole.
//
// Input: the first byte picks the encoding (bits 0-1), the first-line and break modes
// (bits 2-3) and the chunk size (bits 4-7); the second the title held; the rest is the
// article.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "common/run_error.h"
#include "export/article.h"
#include "files/paths.h"
#include "fuzz/fuzz_support.h"
#include "support/test_support.h"

namespace {

using qbfuzz::Require;

struct Reading {
    qb::ArticleEncoding encoding;
    std::int16_t titleMode;
    std::int16_t kaigyoMode;
    std::size_t chunkSize;
    std::size_t titleHeld;
};

struct Outcome {
    std::u16string title;
    std::string written;
    std::vector<std::u16string> messages;
    int error = 0;  // thrown out of the reading
    bool operator==(const Outcome&) const = default;
};

Outcome Transcribe(const std::filesystem::path& folder, const Reading& r) {
    qbtest::RunFixture f;
    f.settings.titleMode = static_cast<qb::TitleMode>(r.titleMode);
    f.settings.kaigyoMode = static_cast<qb::KaigyoMode>(r.kaigyoMode);
    Outcome o;
    o.error = qbtest::RunErrorNumber([&] {
        qb::ImportFile out(folder / "out.txt");
        qb::ArticleFile article(qb::FromPath(folder / "a.txt"), r.encoding, r.chunkSize);
        qb::ReadTitle(f.run, article, f.messages, r.titleHeld);
        qb::WriteTitle(f.run, article, out);
        out.EndLine();
        qb::TranscribeBody(f.run, article, out);
        out.Close();
    });
    o.title = f.run.EntryTitle;
    o.written = qbtest::ReadBytes(folder / "out.txt");
    o.messages = f.messages.Texts();
    return o;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    static const qb::ArticleEncoding kEncodings[] = {qb::ArticleEncoding::Auto, qb::ArticleEncoding::ShiftJis,
                                                     qb::ArticleEncoding::Utf8, qb::ArticleEncoding::Auto};
    Reading whole{kEncodings[data[0] & 3U], static_cast<std::int16_t>(data[0] >> 2U & 1U),
                  static_cast<std::int16_t>(data[0] >> 3U & 1U), qb::ArticleFile::kChunkSize, qb::kTitleHeld};
    Reading pieces = whole;
    pieces.chunkSize = 1 + (data[0] >> 4U);
    pieces.titleHeld = data[1];
    const std::filesystem::path& folder = qbfuzz::ScratchFolder();
    qbtest::WriteBytes(folder / "a.txt", std::string(reinterpret_cast<const char*>(data + 2), size - 2));

    Outcome expected = Transcribe(folder, whole);
    const Outcome got = Transcribe(folder, pieces);
    expected.title.resize(std::min(expected.title.size(), pieces.titleHeld));
    Require(got == expected, "in pieces the same title, body lines and failures as whole");
    Require(expected.error == 0 && expected.messages.empty(), "a readable article reads without failure");
    return 0;
}
