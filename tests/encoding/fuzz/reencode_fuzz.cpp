// Fuzzes the re-encoding of a first-pass file into EUC-JP, UTF-8 or Shift_JIS line ends:
// read at a random chunk size and at the usual one, the file afterwards and the failure
// number are those of converting the whole buffer at once, and no work file is left.
//
// Input: the first byte picks the encoding (bits 0-1), the line ends (bit 2) and the
// chunk size (bits 3-7); the rest is the first-pass file.

#include <cstdint>
#include <iterator>
#include <filesystem>
#include <string>
#include <string_view>

#include "common/run_error.h"
#include "encoding/reencode.h"
#include "fuzz/fuzz_support.h"
#include "reencode_reference.h"

namespace {

using qbfuzz::Require;
using qbtest::Outcome;

Outcome Run(const std::filesystem::path& path, const std::string& content, qb::EncodingButtons buttons,
            qb::LineEnds ends, std::size_t chunk) {
    qbfuzz::WriteFile(path, content);
    Outcome o;
    try {
        o.utf8Failed = qb::ReencodeOutputFile(path, buttons, ends, chunk) == qb::ReencodeResult::Utf8Failed;
    } catch (const qb::RunError& e) {
        o.error = e.Number();
    }
    o.file = qbfuzz::ReadFile(path);
    const auto entries = std::distance(std::filesystem::directory_iterator(path.parent_path()), {});
    Require(entries == 1, "no work file is left beside the import file");
    return o;
}

void Check(std::uint8_t first, std::string_view rest) {
    static const qb::EncodingButtons kButtons[] = {
        {.option12 = true}, {.option13 = true}, {.option14 = true}, {}};
    const qb::EncodingButtons buttons = kButtons[first & 3U];
    const qb::LineEnds ends = (first & 4U) != 0 ? qb::LineEnds::Lf : qb::LineEnds::CrLf;
    const std::size_t chunk = 1 + (first >> 3U);
    const std::string content(rest);
    const std::filesystem::path path = qbfuzz::ScratchFolder() / "import.txt";

    const Outcome expected = qbtest::Reference(content, buttons, ends);
    Require(Run(path, content, buttons, ends, chunk) == expected, "in chunks as on the whole buffer");
    Require(Run(path, content, buttons, ends, std::size_t{64} * 1024) == expected,
            "in one chunk as on the whole buffer");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return qbfuzz::WithFirstByte(data, size, Check);
}
