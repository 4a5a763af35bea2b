#pragma once
// Rewrites the finished Shift_JIS import file in the chosen encoding.

#include <cstddef>
#include <filesystem>
#include "export/byte_sink.h"
#include "export/export_settings.h"

namespace qb {

enum class ReencodeResult {
    Done,
    Utf8Failed,  // the text was empty; the caller shows "UTF-8 への変換に失敗しました。"
};

// Throws RunError (6 and 9 from the EUC-JP conversion, file errors as their numbers).
// The first-pass file is replaced, flushed to the disk, only when the whole new content
// has been written. With LineEnds::Lf every CR LF pair of the finished file becomes a
// single LF.
ReencodeResult ReencodeOutputFile(const std::filesystem::path& path, OutputEncoding encoding,
                                  LineEnds lineEnds = LineEnds::CrLf);

// The same, reading the file chunkSize bytes at a time (the result does not depend on it).
ReencodeResult ReencodeOutputFile(const std::filesystem::path& path, OutputEncoding encoding, LineEnds lineEnds,
                                  std::size_t chunkSize);

// The same bytes given to sink instead, the first-pass file left as it is: in Shift_JIS
// (and when no encoding is chosen) the first pass's own, with LineEnds::Lf applied to
// Shift_JIS. A failure of sink is thrown only once the whole file has been converted,
// after a conversion failure anywhere in it.
ReencodeResult ReencodeInto(const std::filesystem::path& path, OutputEncoding encoding, LineEnds lineEnds,
                            ByteSink& sink, std::size_t chunkSize = 0);

}  // namespace qb
