#pragma once
// Reading one article: its title (the first non-blank line), its body copied into the
// import file as paragraph text, and the name of the folder that holds it.

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "encoding/article_encoding.h"
#include "encoding/text_lines.h"
#include "export/export_settings.h"
#include "export/import_file.h"
#include "export/messages.h"

namespace qb {

// An article file open for reading line by line, each line in pieces, so that a line
// of any length is read in bounded memory. A line ends at CR LF, a lone CR or a lone LF.
// The article is read as code page 932 or UTF-8, recognised when it is opened.
class ArticleFile {
public:
    static constexpr std::size_t kChunkSize = std::size_t{64} * 1024;

    // Opens the article. Throws RunError: 53 when it does not exist, 75 when it is a
    // folder or a device (neither a file nor a pipe), the errno's number (70 for no
    // permission...) when it cannot be opened, 57 when it cannot be read. Reopen and
    // OpenAt throw 57 for a pipe, which can be read only once.
    explicit ArticleFile(std::u16string path, ArticleEncoding encoding = ArticleEncoding::Auto,
                         std::size_t chunkSize = kChunkSize);
    ArticleFile(const ArticleFile&) = delete;
    ArticleFile& operator=(const ArticleFile&) = delete;
    ~ArticleFile();

    // Closes the file and opens it again at its first line.
    void Reopen();
    // The same article opened once more, at the line that starts at offset (LineStart()).
    [[nodiscard]] std::unique_ptr<ArticleFile> OpenAt(std::uint64_t offset) const;

    // Starts the next line; false at the end.
    bool StartLine();
    // The text of the next piece of the current line, valid until the next call; false
    // once the line has ended.
    bool ReadPiece(std::u16string_view& text);
    [[nodiscard]] bool AtEnd();
    // Where the current line starts in the file.
    [[nodiscard]] std::uint64_t LineStart() const { return reader_->LineStart(); }
    // The reading calls throw RunError (57) when reading fails.

    // True once a read has failed: nothing more can be read.
    [[nodiscard]] bool Broken() const { return in_.bad(); }
    [[nodiscard]] TextEncoding Encoding() const { return start_.encoding; }

private:
    ArticleFile(std::u16string path, ArticleStart start, std::size_t chunkSize, std::uint64_t offset);
    // again: the article has been opened before (read once more from its start or a line).
    void Open(std::uint64_t offset, bool again);
    void Begin();

    std::u16string path_;
    std::size_t chunkSize_;
    std::optional<ArticleEncoding> request_;  // until the encoding has been recognised
    ArticleStart start_;
    std::uint64_t offset_ = 0;
    std::ifstream in_;
    std::unique_ptr<LineReader> reader_;
    std::unique_ptr<TextDecoder> decoder_;
    std::u16string text_;  // the piece last read
    bool begun_ = false;
    bool lineOpen_ = false;
};

// Removes leading and trailing U+0020 only: tabs and the ideographic space stay, so the
// U+3000 that indents a Japanese paragraph is kept.
[[nodiscard]] std::u16string_view TrimSpaces(std::u16string_view text);

// A title is held whole up to this many code units; a longer one is read again from the
// article where it is written.
inline constexpr std::size_t kTitleHeld = std::size_t{1} << 20U;

// An article's title: the first non-blank line, trimmed. Empty when the article has no
// such line.
struct ArticleTitle {
    std::u16string text;                    // the title, or its first titleHeld code units
    std::optional<std::uint64_t> longLine;  // where the title line starts when it was too long to hold
};

// Reads the title; the article is left just after it. A read failure shows
// "読み込みデータが異常です。" and its number and gives an empty title; the caller goes on.
[[nodiscard]] ArticleTitle ReadTitle(ArticleFile& article, MessageSink& messages, std::size_t titleHeld = kTitleHeld);

// Writes the title ReadTitle found (without line end), a long one in full.
void WriteTitle(const ArticleTitle& title, const ArticleFile& article, ImportFile& out);

// The text that marks the body: before its first line, and after every line (empty for none).
struct BodyMarks {
    std::u16string_view paragraphStart;
    std::u16string_view lineEnd;
};

// Writes the body lines, each trimmed, marked as marks says; a line that importers would
// read as the format's own is mended (body_lines.h). With TitleMode TitleAndBody the
// article is read again from its first line. A failure reopening the article or at the
// first end-of-file test throws; a failing read ends the body.
void TranscribeBody(ArticleFile& article, TitleMode titleMode, const BodyMarks& marks, ImportFile& out);

// The name of the folder that directly holds the article at path. Throws RunError 5 when
// path holds no separator.
[[nodiscard]] std::u16string GetArticleFolderName(std::u16string_view path);

}  // namespace qb
