#pragma once
// Shared pieces of the engine tests: a scratch folder, byte files, a fixed clock and a
// message sink that records.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "encoding/cp932.h"
#include "common/unicode.h"
#include "files/paths.h"
#include "export/clock.h"
#include "export/export_run.h"
#include "export/messages.h"

namespace qbtest {

class TempDir {
public:
    TempDir() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("qb-test-" + std::to_string(rd()) + "-" + std::to_string(rd()));
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

// Lines joined with CR LF after each, in code page 932.
inline std::string SjisLines(const std::vector<std::u16string>& lines) {
    std::u16string text;
    for (const auto& line : lines) {
        text += line;
        text += u"\r\n";
    }
    return qb::cp932::Encode(text);
}

inline std::string Sjis(std::u16string_view text) { return qb::cp932::Encode(text); }

class FakeClock final : public qb::Clock {
public:
    qb::DateTime now{2026, 5, 6, 7, 8, 9};
    std::optional<std::uint64_t> counter = 1234560000;
    std::uint64_t seed = 42;

    qb::DateTime Now() override { return now; }
    std::optional<std::uint64_t> PerformanceCounter() override { return counter; }
    std::uint64_t TimeOfDaySeed() override { return seed++; }
};

struct Message {
    std::u16string text;
    qb::MessageIcon icon;
    std::u16string caption;
};

class RecordingMessages final : public qb::MessageSink {
public:
    using qb::MessageSink::Show;
    std::vector<Message> shown;
    void Show(const std::u16string& text, qb::MessageIcon icon, const std::u16string& caption) override {
        shown.push_back({text, icon, caption});
    }
    [[nodiscard]] std::vector<std::u16string> Texts() const {
        std::vector<std::u16string> texts;
        for (const auto& m : shown) {
            texts.push_back(m.text);
        }
        return texts;
    }
};

// A run over settings that start as the defaults, for the layers below RunExport.
struct RunFixture {
    qb::ExportSettings settings;
    qb::StartDates dates;
    FakeClock clock;
    RecordingMessages messages;
    qb::ExportRun run{settings, dates, messages, clock};
};

// The article of the spring-walk example.
inline const std::vector<std::u16string> kSpringWalk{u"春の散歩", u"桜が咲いていました。", u"", u"また行きたい。"};

// The record of the spring-walk article with 日記 as category.
// Status Future; breaks: "改行を変換する"; titleAndBody: "タイトル＆本文".
inline std::vector<std::u16string> SpringWalkRecord(const std::u16string& date, bool breaks, bool titleAndBody) {
    std::vector<std::u16string> record{u"AUTHOR:",           u"TITLE: 春の散歩",   u"DATE:  " + date,
                                       u"STATUS:   Future",  u"ALLOW COMMENTS: 0", u"CONVERT BREAKS: 0",
                                       u"ALLOW PINGS: 0",    u"PRIMARY CATEGORY: 日記", u"-----",
                                       u"BODY:"};
    const std::u16string br = breaks ? u"<BR>" : u"";
    std::vector<std::u16string> body(kSpringWalk.begin() + (titleAndBody ? 0 : 1), kSpringWalk.end());
    body.front() = u"<P>" + body.front();
    for (auto& line : body) {
        record.push_back(line + br);
    }
    for (const std::u16string& line :
         {br, std::u16string(u"</P>"), br, std::u16string(u"-----"), std::u16string(u"--------")}) {
        record.push_back(line);
    }
    return record;
}

inline std::vector<std::u16string> Join(std::vector<std::u16string> a, const std::vector<std::u16string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace qbtest
