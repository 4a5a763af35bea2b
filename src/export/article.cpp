#include "export/article.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "common/run_error.h"
#include "encoding/unicode.h"

namespace qb {

namespace {
constexpr char16_t kReadFailure[] = u"読み込みデータが異常です。";
}  // namespace

ArticleFile::ArticleFile(std::u16string path) : path_(std::move(path)) { Open(); }

ArticleFile::~ArticleFile() = default;

void ArticleFile::Open() {
    const std::filesystem::path p = ToPath(path_);
    std::error_code ec;
    const auto status = std::filesystem::status(p, ec);
    if (status.type() == std::filesystem::file_type::not_found) {
        // A missing file in an existing folder, or a folder that is not there.
        std::error_code folderEc;
        const bool folderThere = std::filesystem::is_directory(p.parent_path(), folderEc);
        throw RunError(folderThere ? err::kFileNotFound : err::kPathNotFound, "article not found: " + p.string());
    }
    if (ec) {
        ThrowErrno(ec.value(), "article " + p.string());
    }
    if (status.type() == std::filesystem::file_type::directory) {
        throw RunError(err::kPathFileAccess, "article is a folder: " + p.string());
    }
    errno = 0;
    in_.open(p, std::ios::binary | std::ios::in);
    if (!in_.is_open()) {
        const int e = errno;
        ThrowErrno(e == 0 ? EACCES : e, "cannot open article " + p.string());
    }
    reader_ = std::make_unique<LineReader>(in_);
}

void ArticleFile::Reopen() {
    reader_.reset();
    in_.close();
    in_.clear();
    Open();
}

bool ArticleFile::ReadLine(std::u16string& line) {
    if (!reader_->Next(bytes_)) {
        return false;
    }
    line.clear();
    decoder_.Feed(bytes_, line);
    decoder_.Finish(line);
    return true;
}

bool ArticleFile::AtEnd() { return reader_->AtEnd(); }

std::u16string_view TrimSpaces(std::u16string_view text) {
    const auto first = text.find_first_not_of(u' ');
    if (first == std::u16string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(u' ');
    return text.substr(first, last - first + 1);
}

void ReadTitle(Module1& module, ArticleFile& article, MessageSink& messages) {
    module.EntryTitle.clear();
    try {
        std::u16string line;
        while (article.ReadLine(line)) {
            const std::u16string_view trimmed = TrimSpaces(line);
            if (!trimmed.empty()) {
                module.EntryTitle.assign(trimmed);
                return;
            }
        }
    } catch (const RunError& e) {
        messages.Show(kReadFailure + NumberText(e.Number()));
    }
}

void TranscribeBody(Module1& module, ArticleFile& article, ImportFile& out) {
    if (module.TitleMode == 1) {
        article.Reopen();
    }
    bool paragraphOpened = false;
    std::u16string line;
    bool atEnd = article.AtEnd();  // a failure here ends the run
    while (!atEnd) {
        try {
            if (!article.ReadLine(line)) {
                break;
            }
        } catch (const RunError&) {
            break;  // a failed read leaves the stream unreadable
        }
        const std::u16string_view trimmed = TrimSpaces(line);
        if (!paragraphOpened) {
            module.LineBuffer = u"<P>";
            module.LineBuffer += trimmed;
            paragraphOpened = true;
        } else {
            module.LineBuffer.assign(trimmed);
        }
        if (module.KaigyoMode == 1) {
            module.LineBuffer += u"<BR>";
        }
        out.WriteLine(module.LineBuffer);
        try {
            atEnd = article.AtEnd();
        } catch (const RunError&) {
            break;
        }
    }
}

void GetArticleFolderName(Module1& module, std::u16string_view path) {
    const auto last = path.rfind(kPathSeparator);
    if (last == std::u16string_view::npos) {
        throw RunError(err::kInvalidCall, "article path without a folder");
    }
    const std::u16string_view folder = path.substr(0, last);
    const auto inner = folder.rfind(kPathSeparator);
    module.ArticleFolderName.assign(inner == std::u16string_view::npos ? folder : folder.substr(inner + 1));
}

}  // namespace qb
