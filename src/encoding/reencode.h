#pragma once
// Rewrites the finished Shift_JIS import file in the chosen encoding.

#include <cstddef>
#include <filesystem>

namespace qb {

enum class LineEnds { CrLf, Lf };

// The three encoding buttons, read in the order Option14, Option12, Option13.
struct EncodingButtons {
    bool option12 = false;  // "EUC"
    bool option13 = false;  // "UTF-8"
    bool option14 = false;  // "Shift-JIS"
};

enum class ReencodeResult {
    Done,
    Utf8Failed,  // the text was empty; the caller shows "UTF-8 への変換に失敗しました。"
};

// Throws RunError (6 and 9 from the EUC-JP conversion, file errors as their numbers).
// The first-pass file is replaced only when the whole new content has been written.
// With LineEnds::Lf every CR LF pair of the finished file becomes a single LF.
ReencodeResult ReencodeOutputFile(const std::filesystem::path& path, EncodingButtons buttons,
                                  LineEnds lineEnds = LineEnds::CrLf);

// The same, reading the file chunkSize bytes at a time (the result does not depend on it).
ReencodeResult ReencodeOutputFile(const std::filesystem::path& path, EncodingButtons buttons,
                                  LineEnds lineEnds, std::size_t chunkSize);

}  // namespace qb
