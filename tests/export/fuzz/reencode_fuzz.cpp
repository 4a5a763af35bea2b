// Fuzzes the re-encoding of a first-pass file into EUC-JP, UTF-8 or Shift_JIS line ends:
// read at a random chunk size and at the usual one, the file afterwards and the failure
// number are those of converting the whole buffer at once, and no work file is left.
//
// Input: the first byte picks the encoding (bits 0-1), the line ends (bit 2) and the
// chunk size (bits 3-7); the rest is the first-pass file.

#include <cstdint>
#include <filesystem>
#include <iterator>
#include <string>
#include <string_view>

#include "common/run_error.h"
#include "export/reencode.h"
#include "fuzz/fuzz_support.h"
#include "reencode_reference.h"

namespace {

using qbfuzz::Require;
using qbtest::Outcome;

Outcome Run(const std::filesystem::path& path, const std::string& content, qb::OutputEncoding encoding,
            qb::LineEnds ends, std::size_t chunk) {
    qbtest::WriteBytes(path, content);
    Outcome o;
    o.error = qbtest::RunErrorNumber(
        [&] { o.utf8Failed = qb::ReencodeOutputFile(path, encoding, ends, chunk) == qb::ReencodeResult::Utf8Failed; });
    o.file = qbtest::ReadBytes(path);
    const auto entries = std::distance(std::filesystem::directory_iterator(path.parent_path()), {});
    Require(entries == 1, "no work file is left beside the import file");
    return o;
}

void Check(std::uint8_t first, std::string_view rest) {
    static constexpr qb::OutputEncoding kEncodings[] = {qb::OutputEncoding::EucJp, qb::OutputEncoding::Utf8,
                                                        qb::OutputEncoding::ShiftJis, qb::OutputEncoding::NotChosen};
    const qb::OutputEncoding encoding = kEncodings[first & 3U];
    const qb::LineEnds ends = (first & 4U) != 0 ? qb::LineEnds::Lf : qb::LineEnds::CrLf;
    const std::size_t chunk = 1 + (first >> 3U);
    const std::string content(rest);
    const std::filesystem::path path = qbfuzz::ScratchFolder() / "import.txt";

    const Outcome expected = qbtest::Reference(content, encoding, ends);
    Require(Run(path, content, encoding, ends, chunk) == expected, "in chunks as on the whole buffer");
    Require(Run(path, content, encoding, ends, std::size_t{64} * 1024) == expected,
            "in one chunk as on the whole buffer");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return qbfuzz::WithFirstByte(data, size, Check);
}
