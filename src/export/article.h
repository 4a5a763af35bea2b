#pragma once
// Reading one article: its title (the first non-blank line), its body copied into the
// import file as paragraph text, and the name of the folder that holds it.

#include <fstream>
#include <memory>
#include <string>
#include <string_view>

#include "encoding/cp932.h"
#include "encoding/text_lines.h"
#include "export/import_file.h"
#include "export/messages.h"
#include "export/module1.h"

namespace qb {

// An article file open for reading line by line in code page 932. A line ends at CR LF
// or a lone CR; a lone LF stays inside the line.
class ArticleFile {
public:
    // Opens the article. Throws RunError: 53 when it does not exist, 75 when it is a
    // folder, the errno's number (70 for no permission...) when it cannot be opened.
    explicit ArticleFile(std::u16string path);
    ArticleFile(const ArticleFile&) = delete;
    ArticleFile& operator=(const ArticleFile&) = delete;
    ~ArticleFile();

    // Closes the file and opens it again at its first line.
    void Reopen();
    // Reads the next line; false at the end. Throws RunError (57) when reading fails.
    bool ReadLine(std::u16string& line);
    // Throws RunError (57) when reading fails.
    [[nodiscard]] bool AtEnd();
    // True once a read has failed: nothing more can be read.
    [[nodiscard]] bool Broken() const { return in_.bad(); }

private:
    void Open();

    std::u16string path_;
    std::ifstream in_;
    std::unique_ptr<LineReader> reader_;
    cp932::Decoder decoder_;
    std::string bytes_;
};

// Removes leading and trailing U+0020 only: tabs and the ideographic space stay, so the
// U+3000 that indents a Japanese paragraph is kept.
[[nodiscard]] std::u16string_view TrimSpaces(std::u16string_view text);

// EntryTitle = the first non-blank line, trimmed; the file is left after it. An article
// without a non-blank line gets an empty title. A read failure shows
// "読み込みデータが異常です。" and its number, and the run goes on.
void ReadTitle(Module1& module, ArticleFile& article, MessageSink& messages);

// Writes the body lines: "<P>" before the first, "<BR>" after each when KaigyoMode is 1.
// With TitleMode 1 the article is read again from its first line. A failure reopening
// the article or at the first end-of-file test throws; a failing read ends the body.
void TranscribeBody(Module1& module, ArticleFile& article, ImportFile& out);

// ArticleFolderName = the name of the folder that directly holds the article at path.
// Throws RunError 5 when path holds no separator.
void GetArticleFolderName(Module1& module, std::u16string_view path);

}  // namespace qb
