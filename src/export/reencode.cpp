#include "export/reencode.h"

#include <cerrno>
#include <optional>
#include <string>
#include <string_view>

#include "common/run_error.h"
#include "encoding/cp932.h"
#include "encoding/kanji_stream.h"
#include "encoding/utf8_encode.h"
#include "files/file_io.h"

// The file is converted as a stream, one chunk at a time, in bounded memory; the bytes
// and failures are those of reading the whole file into one text and converting it.

namespace qb {

namespace {

constexpr std::size_t kDefaultChunk = std::size_t{64} * 1024;
constexpr std::size_t kWriteThreshold = std::size_t{256} * 1024;

// The first-pass file read back as lines: a line ends at CR LF or at a lone CR, a lone
// LF stays in its line, and every line, the last one too, is followed by CR LF. Each
// line is decoded from code page 932 by itself.
class ReadBack {
public:
    void Feed(std::string_view bytes, std::u16string& text) {
        std::size_t pos = 0;
        if (skipLf_ && !bytes.empty()) {
            skipLf_ = false;
            if (bytes.front() == '\n') {
                pos = 1;
            }
        }
        while (pos < bytes.size()) {
            const std::size_t cr = bytes.find('\r', pos);
            if (cr == std::string_view::npos) {
                decoder_.Feed(bytes.substr(pos), text);
                inLine_ = true;
                return;
            }
            decoder_.Feed(bytes.substr(pos, cr - pos), text);
            EndLine(text);
            pos = cr + 1;
            if (pos == bytes.size()) {
                skipLf_ = true;  // a LF first in the next chunk belongs to this CR
            } else if (bytes[pos] == '\n') {
                ++pos;
            }
        }
    }

    void Finish(std::u16string& text) {
        if (inLine_) {
            EndLine(text);  // a last line without terminator
        }
    }

private:
    void EndLine(std::u16string& text) {
        decoder_.Finish(text);
        text += u"\r\n";
        inLine_ = false;
    }

    cp932::Decoder decoder_;
    bool skipLf_ = false;
    bool inLine_ = false;
};

// Turns every CR LF pair into a single LF, across chunk edges.
class CrLfToLf {
public:
    void Feed(std::string_view in, std::string& out) {
        for (const char c : in) {
            if (pendingCr_) {
                pendingCr_ = false;
                if (c == '\n') {
                    out.push_back('\n');
                    continue;
                }
                out.push_back('\r');
            }
            if (c == '\r') {
                pendingCr_ = true;
            } else {
                out.push_back(c);
            }
        }
    }
    void Finish(std::string& out) {
        if (pendingCr_) {
            out.push_back('\r');
            pendingCr_ = false;
        }
    }

private:
    bool pendingCr_ = false;
};

// Collects converted bytes and gives them to the sink in large pieces. A sink's failure
// is held, not thrown, until Finish(): converting the whole text before writing any of it
// would report a conversion failure (or the UTF-8 failure) first, wherever in the file it
// lies.
class Output {
public:
    Output(ByteSink& sink, LineEnds lineEnds) : sink_(sink), lf_(lineEnds == LineEnds::Lf) {}

    // Takes the bytes in bytes (and empties it).
    void Put(std::string& bytes) {
        if (lf_) {
            filter_.Feed(bytes, pending_);
        } else {
            pending_ += bytes;
        }
        bytes.clear();
        if (pending_.size() >= kWriteThreshold) {
            Flush();
        }
    }

    // Gives the sink the rest, or throws its failure.
    void Finish() {
        if (lf_) {
            filter_.Finish(pending_);
        }
        Flush();
        if (failure_) {
            throw *failure_;
        }
    }

private:
    void Flush() {
        if (!failure_ && !pending_.empty()) {
            try {
                sink_.Put(pending_);
            } catch (const RunError& e) {
                failure_ = e;
            }
        }
        pending_.clear();
    }

    ByteSink& sink_;
    bool lf_;
    CrLfToLf filter_;
    std::string pending_;
    std::optional<RunError> failure_;
};

// The new content of the first-pass file: a work file made at the first bytes, put in
// its place by Commit().
class NewContent : public ByteSink {
public:
    explicit NewContent(const std::filesystem::path& path) : path_(path) {}

    void Put(std::string_view bytes) override { File().Write(bytes); }
    void Commit() { File().Commit(); }

private:
    ReplacementFile& File() {
        if (!file_) {
            file_.emplace(path_);
        }
        return *file_;
    }

    std::filesystem::path path_;
    std::optional<ReplacementFile> file_;
};

// The first-pass bytes as they are, or with CR LF pairs made LF.
void PassThrough(InputFile& in, LineEnds lineEnds, std::size_t chunkSize, ByteSink& sink) {
    Output out(sink, lineEnds);
    std::string buffer(chunkSize, '\0');
    std::string bytes;
    for (std::string_view chunk = in.Read(buffer); !chunk.empty(); chunk = in.Read(buffer)) {
        bytes.assign(chunk);
        out.Put(bytes);
    }
    out.Finish();
}

enum class Target { Euc, Utf8 };

ReencodeResult Convert(InputFile& in, Target target, LineEnds lineEnds, std::size_t chunkSize, ByteSink& sink) {
    Output out(sink, lineEnds);
    ReadBack readBack;
    cp932::Encoder sjisEncoder;
    SjisToEucStream euc;
    std::string buffer(chunkSize, '\0');
    std::u16string text;
    std::string sjis;
    std::string bytes;
    bool anyText = false;

    // Converts the text read so far into bytes; for EUC-JP through code page 932 and
    // both stages.
    auto convert = [&](bool last) {
        anyText = anyText || !text.empty();
        if (target == Target::Utf8) {
            AppendUtf8(text, bytes);
        } else {
            sjisEncoder.Feed(text, sjis);
            if (last) {
                sjisEncoder.Finish(sjis);
            }
            euc.Feed(sjis, bytes);
            sjis.clear();
            if (last) {
                euc.Finish(bytes);
            }
        }
        text.clear();
    };

    // A conversion failure is held until the whole file has been read, as reading it
    // whole before converting would report a read failure first.
    std::optional<RunError> failure;
    for (std::string_view chunk = in.Read(buffer); !chunk.empty(); chunk = in.Read(buffer)) {
        if (failure) {
            continue;
        }
        readBack.Feed(chunk, text);
        try {
            convert(false);
        } catch (const RunError& e) {
            failure = e;
            continue;
        }
        out.Put(bytes);
    }
    if (failure) {
        throw *failure;
    }
    readBack.Finish(text);
    convert(true);
    out.Put(bytes);
    if (target == Target::Utf8 && !anyText) {
        return ReencodeResult::Utf8Failed;  // nothing to encode
    }
    out.Finish();
    return ReencodeResult::Done;
}

}  // namespace

ReencodeResult ReencodeInto(const std::filesystem::path& path, OutputEncoding encoding, LineEnds lineEnds,
                            ByteSink& sink, std::size_t chunkSize) {
    if (chunkSize == 0) {
        chunkSize = kDefaultChunk;
    }
    InputFile in(path);
    switch (encoding) {
    case OutputEncoding::EucJp:
        return Convert(in, Target::Euc, lineEnds, chunkSize, sink);
    case OutputEncoding::Utf8:
        return Convert(in, Target::Utf8, lineEnds, chunkSize, sink);
    case OutputEncoding::ShiftJis:
        PassThrough(in, lineEnds, chunkSize, sink);
        return ReencodeResult::Done;
    default:
        PassThrough(in, LineEnds::CrLf, chunkSize, sink);  // no encoding chosen: kept as written
        return ReencodeResult::Done;
    }
}

ReencodeResult ReencodeOutputFile(const std::filesystem::path& path, OutputEncoding encoding, LineEnds lineEnds) {
    return ReencodeOutputFile(path, encoding, lineEnds, kDefaultChunk);
}

ReencodeResult ReencodeOutputFile(const std::filesystem::path& path, OutputEncoding encoding, LineEnds lineEnds,
                                  std::size_t chunkSize) {
    const bool rewritten = encoding == OutputEncoding::EucJp || encoding == OutputEncoding::Utf8 ||
                           (encoding == OutputEncoding::ShiftJis && lineEnds == LineEnds::Lf);
    if (!rewritten) {
        if (encoding != OutputEncoding::ShiftJis) {
            // No encoding chosen: the file is read back, and the text dropped.
            InputFile in(path);
            std::string buffer(chunkSize == 0 ? 1 : chunkSize, '\0');
            while (!in.Read(buffer).empty()) {
            }
        }
        return ReencodeResult::Done;
    }
    NewContent content(path);
    const ReencodeResult result = ReencodeInto(path, encoding, lineEnds, content, chunkSize == 0 ? 1 : chunkSize);
    if (result == ReencodeResult::Done) {
        content.Commit();  // an empty result too
    }
    return result;
}

}  // namespace qb
