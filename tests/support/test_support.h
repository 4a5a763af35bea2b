#pragma once
// What every test suite shares: a scratch folder, byte files, Shift_JIS lines, a fake
// clock, a message sink that records, the failure number of a call, an article read as a
// record reads it, a folder that refuses new files and the spring-walk example. Free of
// GoogleTest, so that the fuzz targets can use it too.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "common/run_error.h"
#include "common/unicode.h"
#include "encoding/cp932.h"
#include "encoding/kanji_convert.h"
#include "encoding/utf8_encode.h"
#include "export/article.h"
#include "export/clock.h"
#include "export/export_run.h"
#include "export/import_file.h"
#include "export/messages.h"
#include "files/paths.h"

namespace qbtest {

// A fresh folder of its own in the system's temporary folder, removed with everything in
// it at the end. The name starts with prefix (a Japanese one tests non-ASCII paths).
class TempDir {
public:
    explicit TempDir(const std::filesystem::path& prefix = "qb-test-") {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                (std::filesystem::path(prefix) += std::to_string(rd()) + "-" + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    [[nodiscard]] const std::filesystem::path& Path() const { return path_; }
    [[nodiscard]] std::u16string Text() const { return qb::FromPath(path_); }

private:
    std::filesystem::path path_;
};

// A path written with "/" as the platform spells it ("\\" on Windows).
inline std::u16string Native(std::u16string path) {
    std::replace(path.begin(), path.end(), u'/', qb::kPathSeparator);
    return path;
}

// A relative path given in UTF-8 with "/", as a path of this platform: on Windows made
// from UTF-16 (a narrow string would be taken byte by byte), elsewhere the bytes as given.
inline std::filesystem::path PathOf(const std::string& utf8) {
#ifdef _WIN32
    return qb::ToPath(Native(qb::Utf8ToUtf16(utf8)));
#else
    return std::filesystem::path(utf8);
#endif
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// The exporter's work files (".quillbrook-…") anywhere under folder.
inline std::vector<std::string> WorkFiles(const std::filesystem::path& folder) {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.path().filename().string().rfind(".quillbrook-", 0) == 0) {
            found.push_back(entry.path().string());
        }
    }
    return found;
}

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// Lines joined with CR LF after each.
inline std::u16string CrLfLines(const std::vector<std::u16string>& lines) {
    std::u16string text;
    for (const auto& line : lines) {
        text += line;
        text += u"\r\n";
    }
    return text;
}

// Lines joined with CR LF after each, in code page 932.
inline std::string SjisLines(const std::vector<std::u16string>& lines) { return qb::cp932::Encode(CrLfLines(lines)); }

inline std::string Sjis(std::u16string_view text) { return qb::cp932::Encode(text); }

// The bytes with the CR of every CR LF taken out.
inline std::string CrLfToLf(std::string bytes) {
    for (auto pos = bytes.find("\r\n"); pos != std::string::npos; pos = bytes.find("\r\n", pos)) {
        bytes.erase(pos, 1);
    }
    return bytes;
}

// First-pass bytes (code page 932, CR LF) as the re-encoding writes them.
inline std::string AsWritten(const std::string& sjis, qb::OutputEncoding encoding,
                             qb::LineEnds lineEnds = qb::LineEnds::CrLf) {
    const std::u16string text = qb::cp932::Decode(sjis);
    std::string bytes = sjis;
    if (encoding == qb::OutputEncoding::Utf8) {
        bytes.clear();
        qb::AppendUtf8(text, bytes);
    } else if (encoding == qb::OutputEncoding::EucJp) {
        const qb::ByteArray euc = qb::StrToEuc(text);
        bytes.assign(euc.begin(), euc.end());
    }
    return lineEnds == qb::LineEnds::Lf ? CrLfToLf(bytes) : bytes;
}

// The bytes with each break of a long line ("<wbr", line end, ">") taken out.
inline std::string WithoutBreaks(std::string bytes, std::string_view lineEnd = "\r\n") {
    const std::string mark = "<wbr" + std::string(lineEnd) + ">";
    for (std::size_t at = bytes.find(mark); at != std::string::npos; at = bytes.find(mark, at)) {
        bytes.erase(at, mark.size());
    }
    return bytes;
}

// The number of the RunError that action throws; 0 when it throws none.
inline int RunErrorNumber(const std::function<void()>& action) {
    try {
        action();
    } catch (const qb::RunError& e) {
        return e.Number();
    }
    return 0;
}

// Time sources under the test's control, counting their calls. Every read of the counter
// adds counterStep to it and every seed adds seedStep, so that successive draws differ
// only as a test asks.
class FakeClock final : public qb::Clock {
public:
    qb::DateTime now{2026, 5, 6, 7, 8, 9};
    std::optional<std::uint64_t> counter = 1234560000;  // nullopt: the counter cannot be read
    std::uint64_t counterStep = 0;
    std::uint64_t seed = 42;
    std::uint64_t seedStep = 1;
    int nowCalls = 0;
    int counterCalls = 0;
    int seedCalls = 0;

    qb::DateTime Now() override {
        ++nowCalls;
        return now;
    }
    std::optional<std::uint64_t> PerformanceCounter() override {
        ++counterCalls;
        const std::optional<std::uint64_t> value = counter;
        if (counter) {
            *counter += counterStep;
        }
        return value;
    }
    std::uint64_t TimeOfDaySeed() override {
        ++seedCalls;
        const std::uint64_t value = seed;
        seed += seedStep;
        return value;
    }
};

struct Message {
    std::u16string text;
    qb::MessageIcon icon;
    std::u16string caption;
    std::u16string details;
};

class RecordingMessages final : public qb::MessageSink {
public:
    using qb::MessageSink::Show;
    std::vector<Message> shown;
    // Called while the box would be up: what is behind it can be looked at.
    std::function<void(const Message&)> onShow;

    void Show(const std::u16string& text, qb::MessageIcon icon, const std::u16string& caption,
              const std::u16string& details) override {
        shown.push_back({text, icon, caption, details});
        if (onShow) {
            onShow(shown.back());
        }
    }
    [[nodiscard]] std::vector<std::u16string> Texts() const {
        std::vector<std::u16string> texts;
        for (const auto& m : shown) {
            texts.push_back(m.text);
        }
        return texts;
    }
};

// How a test reads an article: its encoding, pieces of chunkSize bytes, a title held up
// to titleHeld code units, the first-line mode, and "<BR>" after every body line or not.
struct Reading {
    qb::ArticleEncoding encoding = qb::ArticleEncoding::Auto;
    std::size_t chunkSize = qb::ArticleFile::kChunkSize;
    std::size_t titleHeld = qb::kTitleHeld;
    qb::TitleMode titleMode = qb::TitleMode::TitleOnly;
    bool breaks = false;
};

// An article read as a record reads it, into an import file of its own.
struct Transcribed {
    std::u16string title;                  // as held
    std::string written;                   // the import file: the title line, then the body lines
    std::vector<std::u16string> messages;  // shown while reading
    int error = 0;                         // the number of the RunError thrown out of the reading
    bool operator==(const Transcribed&) const = default;
};

inline Transcribed Transcribe(const std::filesystem::path& article, const std::filesystem::path& out,
                              const Reading& r = {}) {
    RecordingMessages messages;
    Transcribed t;
    t.error = RunErrorNumber([&] {
        qb::ImportFile file(out);
        qb::ArticleFile in(qb::FromPath(article), r.encoding, r.chunkSize);
        const qb::ArticleTitle title = qb::ReadTitle(in, messages, r.titleHeld);
        t.title = title.text;
        qb::WriteTitle(title, in, file);
        file.EndLine();
        qb::TranscribeBody(in, r.titleMode, {u"<P>", r.breaks ? u"<BR>" : u""}, file);
        file.Close();
    });
    t.written = ReadBytes(out);
    t.messages = messages.Texts();
    return t;
}

// A folder in which even root may create no file (permission bits would not stop the
// tests, which run as root): sysfs, which Wine shows as Z:\sys\kernel, its drive Z:
// being the Unix root. Nothing when there is none.
inline std::optional<std::filesystem::path> FolderThatRefusesNewFiles() {
#ifdef _WIN32
    const std::filesystem::path folder = L"Z:\\sys\\kernel";
#else
    const std::filesystem::path folder = "/sys/kernel";
#endif
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        return std::nullopt;
    }
    return folder;
}

// The article of the spring-walk example.
inline const std::vector<std::u16string> kSpringWalk{u"春の散歩", u"桜が咲いていました。", u"", u"また行きたい。"};

// One record of an import file: its head, the body lines (from "<P>" to the last line
// before the record's end) and its end.
inline std::vector<std::u16string> Record(const std::u16string& title, const std::u16string& date,
                                          const std::u16string& status, const std::u16string& category,
                                          const std::vector<std::u16string>& body) {
    std::vector<std::u16string> record{u"AUTHOR:",
                                       u"TITLE: " + title,
                                       u"DATE:  " + date,
                                       u"STATUS:   " + status,
                                       u"ALLOW COMMENTS: 0",
                                       u"CONVERT BREAKS: 0",
                                       u"ALLOW PINGS: 0",
                                       u"PRIMARY CATEGORY: " + category,
                                       u"-----",
                                       u"BODY:"};
    record.insert(record.end(), body.begin(), body.end());
    record.insert(record.end(), {u"-----", u"--------"});
    return record;
}

// The record of the spring-walk article with 日記 as category.
// Status Future; breaks: "改行を変換する"; titleAndBody: "タイトル＆本文".
inline std::vector<std::u16string> SpringWalkRecord(const std::u16string& date, bool breaks, bool titleAndBody) {
    const std::u16string br = breaks ? u"<BR>" : u"";
    std::vector<std::u16string> body(kSpringWalk.begin() + (titleAndBody ? 0 : 1), kSpringWalk.end());
    body.front() = u"<P>" + body.front();
    for (auto& line : body) {
        line += br;
    }
    body.insert(body.end(), {br, u"</P>", br});
    return Record(u"春の散歩", date, u"Future", u"日記", body);
}

// a followed by b.
template <class T>
std::vector<T> Join(std::vector<T> a, const std::vector<T>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace qbtest
