#pragma once
// Rewrites the finished Shift_JIS import file in the chosen encoding.

#include <cstddef>
#include <filesystem>

#include "export/export_settings.h"

namespace qb {

enum class ReencodeResult {
    Done,
    Utf8Failed,  // the text was empty; the caller shows "UTF-8 への変換に失敗しました。"
};

// Flushed: the new content is made durable before it replaces the first pass. Unflushed:
// it is only renamed over it, for a file that is copied elsewhere at once.
enum class Replace { Flushed, Unflushed };

// Throws RunError (6 and 9 from the EUC-JP conversion, file errors as their numbers).
// The first-pass file is replaced only when the whole new content has been written.
// With LineEnds::Lf every CR LF pair of the finished file becomes a single LF.
ReencodeResult ReencodeOutputFile(const std::filesystem::path& path, OutputEncoding encoding,
                                  LineEnds lineEnds = LineEnds::CrLf, Replace replace = Replace::Flushed);

// The same, reading the file chunkSize bytes at a time (the result does not depend on it).
ReencodeResult ReencodeOutputFile(const std::filesystem::path& path, OutputEncoding encoding, LineEnds lineEnds,
                                  std::size_t chunkSize, Replace replace = Replace::Flushed);

}  // namespace qb
