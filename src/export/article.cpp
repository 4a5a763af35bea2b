#include "export/article.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "common/run_error.h"
#include "export/body_lines.h"
#include "files/paths.h"

namespace qb {

namespace {

constexpr char16_t kReadFailure[] = u"読み込みデータが異常です。";

// Trims one line as its pieces come: leading spaces are dropped, and a run of spaces is
// held back (as a count) until something other than a space follows it, so that the
// spaces at the end of the line are never written. Only the line's edges are looked at.
class LineTrimmer {
public:
    template <typename Sink>
    void Feed(std::u16string_view text, Sink&& sink) {
        if (!anyText_) {
            const auto first = text.find_first_not_of(u' ');
            if (first == std::u16string_view::npos) {
                return;
            }
            text.remove_prefix(first);
            anyText_ = true;
        }
        const auto last = text.find_last_not_of(u' ');
        if (last == std::u16string_view::npos) {
            heldSpaces_ += text.size();
            return;
        }
        static const std::u16string kSpaces(1024, u' ');
        while (heldSpaces_ > 0) {
            const std::size_t n = std::min<std::uint64_t>(heldSpaces_, kSpaces.size());
            sink(std::u16string_view(kSpaces).substr(0, n));
            heldSpaces_ -= n;
        }
        sink(text.substr(0, last + 1));
        heldSpaces_ = text.size() - last - 1;
    }

    // Whether the line holds anything but spaces (so far).
    [[nodiscard]] bool AnyText() const { return anyText_; }

private:
    bool anyText_ = false;
    std::uint64_t heldSpaces_ = 0;
};

// Reads the rest of the current line, trimmed, into sink.
template <typename Sink>
bool TrimmedRestOfLine(ArticleFile& article, Sink&& sink) {
    LineTrimmer trimmer;
    std::u16string_view piece;
    while (article.ReadPiece(piece)) {
        trimmer.Feed(piece, sink);
    }
    return trimmer.AnyText();
}

}  // namespace

ArticleFile::ArticleFile(std::u16string path, ArticleEncoding encoding, std::size_t chunkSize)
    : path_(std::move(path)), chunkSize_(chunkSize == 0 ? 1 : chunkSize), request_(encoding) {
    Open(0, false);
}

ArticleFile::ArticleFile(std::u16string path, ArticleStart start, std::size_t chunkSize, std::uint64_t offset)
    : path_(std::move(path)), chunkSize_(chunkSize), start_(start) {
    Open(offset, true);
}

ArticleFile::~ArticleFile() = default;

void ArticleFile::Open(std::uint64_t offset, bool again) {
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
        ThrowErrorCode(ec, "article " + p.string());
    }
    if (status.type() == std::filesystem::file_type::directory) {
        throw RunError(err::kPathFileAccess, "article is a folder: " + p.string());
    }
    // A device (/dev/zero, /dev/urandom, a terminal) never ends, and a socket is no
    // article. A pipe is read as it comes, once: opened again it would wait for a
    // writer that has already gone.
    if (status.type() == std::filesystem::file_type::fifo) {
        if (again) {
            throw RunError(err::kDeviceIo, "a pipe cannot be read again: " + p.string());
        }
    } else if (status.type() != std::filesystem::file_type::regular) {
        throw RunError(err::kPathFileAccess, "article is not a file: " + p.string());
    }
    errno = 0;
    in_.open(p, std::ios::binary | std::ios::in);
    if (!in_.is_open()) {
        const int e = errno;
        ThrowErrno(e == 0 ? EACCES : e, "cannot open article " + p.string());
    }
    if (offset > 0 && !in_.seekg(static_cast<std::streamoff>(offset))) {
        throw RunError(err::kDeviceIo, "cannot read the article again: " + p.string());
    }
    offset_ = offset;
    reader_ = std::make_unique<LineReader>(in_, chunkSize_, offset);
    begun_ = false;
    lineOpen_ = false;
}

// The first read: the encoding is recognised (once per article) and a byte-order mark
// passed over. Done here rather than when opening, so that a failing read is reported
// where a line is read.
void ArticleFile::Begin() {
    if (begun_) {
        return;
    }
    if (request_) {
        const std::string_view head = reader_->Head(kUtf8Mark.size());
        start_ = RecogniseArticle(*request_, head, reader_->MoreAfterHead() ? &in_ : nullptr, chunkSize_);
        request_.reset();
    }
    if (offset_ == 0 && start_.markLength > 0) {
        (void)reader_->Head(start_.markLength);
        reader_->Skip(start_.markLength);
    }
    decoder_ = std::make_unique<TextDecoder>(start_.encoding);
    begun_ = true;
}

void ArticleFile::Reopen() {
    reader_.reset();
    in_.close();
    in_.clear();
    Open(0, true);
}

std::unique_ptr<ArticleFile> ArticleFile::OpenAt(std::uint64_t offset) const {
    return std::unique_ptr<ArticleFile>(new ArticleFile(path_, start_, chunkSize_, offset));
}

bool ArticleFile::StartLine() {
    Begin();
    for (std::u16string_view rest; lineOpen_;) {
        (void)ReadPiece(rest);
    }
    lineOpen_ = reader_->StartLine();
    return lineOpen_;
}

bool ArticleFile::ReadPiece(std::u16string_view& text) {
    text_.clear();
    while (lineOpen_) {
        std::string_view bytes;
        if (reader_->NextPiece(bytes)) {
            decoder_->Feed(bytes, text_);
        } else {
            decoder_->Finish(text_);  // a character left incomplete at the line end
            lineOpen_ = false;
        }
        if (!text_.empty()) {
            text = text_;
            return true;
        }
    }
    return false;
}

bool ArticleFile::AtEnd() {
    Begin();
    return reader_->AtEnd();
}

std::u16string_view TrimSpaces(std::u16string_view text) {
    const auto first = text.find_first_not_of(u' ');
    if (first == std::u16string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(u' ');
    return text.substr(first, last - first + 1);
}

ArticleTitle ReadTitle(ArticleFile& article, MessageSink& messages, std::size_t titleHeld) {
    ArticleTitle title;
    try {
        while (article.StartLine()) {
            bool tooLong = false;
            const auto hold = [&](std::u16string_view text) {
                const std::size_t room = titleHeld - std::min(titleHeld, title.text.size());
                if (text.size() > room) {
                    tooLong = true;
                    text = text.substr(0, room);
                }
                title.text += text;
            };
            if (TrimmedRestOfLine(article, hold)) {
                if (tooLong) {
                    title.longLine = article.LineStart();
                }
                return title;
            }
        }
    } catch (const RunError& e) {
        messages.Show(kReadFailure + NumberText(e.Number()));
        return {};
    }
    return title;
}

void WriteTitle(const ArticleTitle& title, const ArticleFile& article, ImportFile& out) {
    if (!title.longLine) {
        out.Write(title.text);
        return;
    }
    const std::unique_ptr<ArticleFile> again = article.OpenAt(*title.longLine);
    if (again->StartLine()) {
        (void)TrimmedRestOfLine(*again, [&](std::u16string_view text) { out.Write(text); });
    }
}

void TranscribeBody(ArticleFile& article, TitleMode titleMode, const BodyMarks& marks, ImportFile& out) {
    if (titleMode == TitleMode::TitleAndBody) {
        article.Reopen();
    }
    // Each line goes out through the guard as the record composes it, its marks included.
    BodyLineGuard guard([&](std::u16string_view text) { out.Write(text); });
    const auto write = [&](std::u16string_view text) { guard.Feed(text); };
    bool paragraphOpened = false;
    bool atEnd = article.AtEnd();  // a failure here ends the run
    while (!atEnd) {
        try {
            if (!article.StartLine()) {
                break;
            }
        } catch (const RunError&) {
            break;  // a failed read leaves the stream unreadable
        }
        out.BeginLine(LineKind::Body);
        if (!paragraphOpened) {
            guard.Feed(marks.paragraphStart);
            paragraphOpened = true;
        }
        bool readFailed = false;
        try {
            (void)TrimmedRestOfLine(article, write);
        } catch (const RunError&) {
            readFailed = true;  // what was read of the line is kept, and the line ended
        }
        if (!marks.lineEnd.empty()) {
            guard.Feed(marks.lineEnd);
        }
        guard.EndLine();
        out.EndLine();
        if (readFailed) {
            break;
        }
        try {
            atEnd = article.AtEnd();
        } catch (const RunError&) {
            break;
        }
    }
}

std::u16string GetArticleFolderName(std::u16string_view path) {
    const auto last = path.rfind(kPathSeparator);
    if (last == std::u16string_view::npos) {
        throw RunError(err::kInvalidCall, "article path without a folder");
    }
    const std::u16string_view folder = path.substr(0, last);
    const auto inner = folder.rfind(kPathSeparator);
    return std::u16string(inner == std::u16string_view::npos ? folder : folder.substr(inner + 1));
}

}  // namespace qb
