// The import file in parts: the plan, the names, and export runs whose parts put together
// are the unsplit file, byte for byte.

#include "export/import_parts.h"

#include <algorithm>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "export/entry_dates.h"
#include "export/export_run.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;
using qb::FilePart;
using qb::SplitLimits;
using Names = std::vector<std::u16string>;

TEST(PartPlan, GreedyWholeRecordsUnderBothLimits) {
    // Records of 10, 20, 30, 40 and 50 bytes.
    const std::vector<std::uint64_t> ends{10, 30, 60, 100, 150};
    const struct {
        const char* name;
        std::vector<std::uint64_t> ends;
        std::uint64_t size;
        SplitLimits limits;
        std::vector<FilePart> parts;
    } cases[] = {
        {"no limit", ends, 150, {}, {{0, 150, 5, false}}},
        {"no record", {}, 0, {1, 1}, {{0, 0, 0, false}}},
        {"one record", {10}, 10, {1, 10}, {{0, 10, 1, false}}},
        {"exactly k records", ends, 150, {5, 0}, {{0, 150, 5, false}}},
        {"k + 1 records", ends, 150, {4, 0}, {{0, 100, 4, false}, {100, 150, 1, false}}},
        {"by entries", ends, 150, {2, 0}, {{0, 30, 2, false}, {30, 100, 2, false}, {100, 150, 1, false}}},
        {"size exactly the file", ends, 150, {0, 150}, {{0, 150, 5, false}}},
        {"size a byte under", ends, 150, {0, 149}, {{0, 100, 4, false}, {100, 150, 1, false}}},
        {"by size", ends, 150, {0, 60}, {{0, 60, 3, false}, {60, 100, 1, false}, {100, 150, 1, false}}},
        {"records over the size alone",
         ends,
         150,
         {0, 35},
         {{0, 30, 2, false}, {30, 60, 1, false}, {60, 100, 1, true}, {100, 150, 1, true}}},
        {"by both",
         ends,
         150,
         {2, 60},
         {{0, 30, 2, false}, {30, 60, 1, false}, {60, 100, 1, false}, {100, 150, 1, false}}},
        {"bytes after the last record", {10, 30}, 33, {1, 0}, {{0, 10, 1, false}, {10, 33, 1, false}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(qb::PlanParts(c.ends, c.size, c.limits), c.parts);
    }
}

TEST(PartPlan, NamesSortInOrderAndOnlyTheirPatternMatches) {
    EXPECT_EQ(qb::PartNames(u"ブログ", 1), (Names{u"ブログ.txt"}));
    EXPECT_EQ(qb::PartNames(u"b", 3), (Names{u"b-1.txt", u"b-2.txt", u"b-3.txt"}));
    const Names twelve = qb::PartNames(u"b", 12);
    EXPECT_EQ(twelve.front(), u"b-01.txt");
    EXPECT_EQ(twelve.back(), u"b-12.txt");
    EXPECT_TRUE(std::is_sorted(twelve.begin(), twelve.end()));
    EXPECT_EQ(qb::PartNames(u"b", 100)[8], u"b-009.txt");
    for (const std::u16string_view name : {u"b.txt", u"b-1.txt", u"b-007.txt", u"b-12345.txt"}) {
        EXPECT_TRUE(qb::IsPartName(name, u"b")) << qb::Utf16ToUtf8(std::u16string(name));
    }
    for (const std::u16string_view name : {u"b-.txt", u"b-x.txt", u"b-1a.txt", u"b-1.txt.partial", u"bb-1.txt",
                                           u"b--1.txt", u"b-1.TXT", u"a-1.txt", u"b"}) {
        EXPECT_FALSE(qb::IsPartName(name, u"b")) << qb::Utf16ToUtf8(std::u16string(name));
    }
}

class ExportParts : public ::testing::Test {
protected:
    ExportParts() {
        settings.outputFolder = dir.Text();
        settings.publishStatus = qb::PublishStatus::Publish;
        settings.categoryRule = qb::CategoryRule::Title;
        settings.startDate = {u"2026", u"04", u"01", u"09", u"00"};
        // Twelve articles, the seventh far larger than the rest.
        for (int i = 1; i <= 12; ++i) {
            const std::string body(i == 7 ? 5000 : 100 * i, static_cast<char>('a' + i));
            const fs::path article = dir.Path() / "articles" / ("a" + std::to_string(i) + ".txt");
            qbtest::WriteBytes(article, qbtest::SjisLines({u"記事" + qb::Utf8ToUtf16(std::to_string(i))}) +
                                            qbtest::Sjis(u"本文") + body + "\r\n");
            settings.articles.push_back({qb::FromPath(article.filename()), qb::FromPath(article)});
        }
    }

    qb::ExportOutcome Run(const std::u16string& name, SplitLimits limits) {
        qb::ExportSettings s = settings;
        s.fileName = name;
        s.split = limits;
        qb::StartDates dates;
        messages.shown.clear();
        return qb::RunExport(s, dates, messages, clock).outcome;
    }

    // The files of the folder whose names are NAME.txt or NAME-<digits>.txt, sorted.
    [[nodiscard]] Names Files(const std::u16string& stem) const {
        Names names;
        for (const auto& entry : fs::directory_iterator(dir.Path())) {
            const std::u16string name = qb::FromPath(entry.path().filename());
            if (qb::IsPartName(name, stem) && entry.is_regular_file()) {
                names.push_back(name);
            }
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    [[nodiscard]] std::string Read(const std::u16string& name) const {
        return qbtest::ReadBytes(dir.Path() / qb::ToPath(name));
    }

    // The sizes of the records of an import file, from its "--------" lines.
    static std::vector<std::uint64_t> RecordSizes(const std::string& file, const std::string& eol) {
        std::vector<std::uint64_t> sizes;
        const std::string end = "--------" + eol;
        std::size_t begin = 0;
        for (auto at = file.find(end); at != std::string::npos; at = file.find(end, at + 1)) {
            sizes.push_back(at + end.size() - begin);
            begin = at + end.size();
        }
        return sizes;
    }

    qbtest::TempDir dir;
    qb::ExportSettings settings;
    qbtest::FakeClock clock;
    qbtest::RecordingMessages messages;
};

TEST_F(ExportParts, PartsPutTogetherAreTheUnsplitFile) {
    using Sizes = const std::vector<std::uint64_t>&;
    const auto total = [](Sizes s) { return std::accumulate(s.begin(), s.end(), std::uint64_t{0}); };
    const struct {
        const char* name;
        qb::OutputEncoding encoding;
        qb::LineEnds lineEnds;
        std::uint64_t records;
        std::function<std::uint64_t(Sizes)> bytes;  // of the unsplit file's record sizes; null: none
        std::vector<std::uint64_t> counts;          // records of each file
        bool oversized;                             // the report names a record over the size
    } cases[] = {
        {"no limit", qb::OutputEncoding::Utf8, qb::LineEnds::CrLf, 0, nullptr, {12}, false},
        {"exactly k records", qb::OutputEncoding::ShiftJis, qb::LineEnds::CrLf, 12, nullptr, {12}, false},
        {"k + 1 records", qb::OutputEncoding::EucJp, qb::LineEnds::Lf, 11, nullptr, {11, 1}, false},
        {"one record each, padded names", qb::OutputEncoding::Utf8, qb::LineEnds::Lf, 1, nullptr,
         std::vector<std::uint64_t>(12, 1), false},
        {"size of the whole file", qb::OutputEncoding::Utf8, qb::LineEnds::CrLf, 0, total, {12}, false},
        {"size a byte under",
         qb::OutputEncoding::ShiftJis,
         qb::LineEnds::Lf,
         0,
         [&](Sizes s) { return total(s) - 1; },
         {11, 1},
         false},
        {"a record over the size alone",
         qb::OutputEncoding::Utf8,
         qb::LineEnds::CrLf,
         0,
         [](Sizes s) { return s[0] + s[1] + s[2] + s[3]; },
         {4, 2, 1, 1, 1, 1, 1, 1},
         true},
        {"by both",
         qb::OutputEncoding::EucJp,
         qb::LineEnds::CrLf,
         3,
         [](Sizes s) { return s[6]; },
         {3, 3, 1, 3, 2},
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        settings.outputEncoding = c.encoding;
        settings.lineEnds = c.lineEnds;
        ASSERT_EQ(Run(u"whole", {}), qb::ExportOutcome::Succeeded);
        const std::string whole = Read(u"whole.txt");
        const std::vector<std::uint64_t> sizes = RecordSizes(whole, c.lineEnds == qb::LineEnds::Lf ? "\n" : "\r\n");
        ASSERT_EQ(sizes.size(), 12U);
        const SplitLimits limits{c.records, c.bytes ? c.bytes(sizes) : 0};

        ASSERT_EQ(Run(u"out", limits), qb::ExportOutcome::Succeeded);
        const Names names = Files(u"out");
        EXPECT_EQ(names, qb::PartNames(u"out", c.counts.size()));
        std::string joined;
        std::size_t record = 0;
        for (std::size_t i = 0; i < names.size() && i < c.counts.size(); ++i) {
            const std::string part = Read(names[i]);
            joined += part;
            const std::vector<std::uint64_t> partSizes =
                RecordSizes(part, c.lineEnds == qb::LineEnds::Lf ? "\n" : "\r\n");
            EXPECT_EQ(partSizes.size(), c.counts[i]) << "file " << i + 1;
            EXPECT_TRUE(limits.bytes == 0 || part.size() <= limits.bytes || c.counts[i] == 1) << "file " << i + 1;
            record += c.counts[i];
        }
        EXPECT_EQ(joined, whole);
        EXPECT_EQ(record, 12U);
        ASSERT_EQ(messages.shown.size(), 1U);
        EXPECT_EQ(messages.shown[0].text, u"書き込み正常終了");
        const std::u16string& report = messages.shown[0].details;
        EXPECT_EQ(report.empty(), limits == SplitLimits{});
        for (const std::u16string& name : limits == SplitLimits{} ? Names{} : names) {
            EXPECT_NE(report.find(name + u"　"), std::u16string::npos);
        }
        EXPECT_EQ(report.find(u"を超えます") != std::u16string::npos, c.oversized);
        EXPECT_EQ(qbtest::WorkFiles(dir.Path()), std::vector<std::string>{});
        for (const std::u16string& name : names) {
            fs::remove(dir.Path() / qb::ToPath(name));
        }
    }
}

// A run replaces the set: what an earlier run left of NAME.txt and NAME-<digits>.txt
// goes, and nothing else; a listed article is never removed.
TEST_F(ExportParts, ASuccessfulRunReplacesTheSet) {
    const Names earlier{u"out.txt", u"out-1.txt", u"out-3.txt", u"out-007.txt"};
    const Names others{u"out-x.txt", u"out-1.txt.bak", u"outer-1.txt", u"out.txt.partial", u"out-4.txt"};
    for (const std::u16string& name : qbtest::Join(earlier, others)) {
        qbtest::WriteBytes(dir.Path() / qb::ToPath(name), "earlier\r\n");
    }
    fs::create_directories(dir.Path() / "out-5.txt");
    // out-4.txt is an article of this run.
    settings.articles.resize(2);
    settings.articles.push_back({u"out-4.txt", qb::FromPath(dir.Path() / "out-4.txt")});
    ASSERT_EQ(Run(u"out", {2, 0}), qb::ExportOutcome::Succeeded);
    EXPECT_EQ(Files(u"out"), (Names{u"out-1.txt", u"out-2.txt", u"out-4.txt"}));
    EXPECT_NE(Read(u"out-1.txt"), "earlier\r\n");
    for (const std::u16string& name : others) {
        EXPECT_EQ(Read(name), "earlier\r\n") << qb::Utf16ToUtf8(name);
    }
    EXPECT_TRUE(fs::is_directory(dir.Path() / "out-5.txt"));
    ASSERT_EQ(messages.shown.size(), 1U);
    const std::u16string& report = messages.shown[0].details;
    EXPECT_NE(report.find(u"削除した前回のファイル:\nout-007.txt\nout-3.txt\nout.txt"), std::u16string::npos)
        << qb::Utf16ToUtf8(report);
    EXPECT_NE(report.find(u"out-1.txt　2 件　"), std::u16string::npos);
    EXPECT_NE(report.find(u"out-2.txt　1 件　"), std::u16string::npos);

    // Without limits, the one file replaces the parts; the report lists only what went.
    ASSERT_EQ(Run(u"out", {}), qb::ExportOutcome::Succeeded);
    EXPECT_EQ(Files(u"out"), (Names{u"out-4.txt", u"out.txt"}));
    EXPECT_EQ(messages.shown[0].details.substr(messages.shown[0].details.find(u"削除")),
              u"削除した前回のファイル:\nout-1.txt\nout-2.txt");
}

// A failed run, before the parts or while they are made, changes no file of the set; its
// first pass is kept whole as NAME.txt.partial.
TEST_F(ExportParts, AFailedRunChangesNoFileOfTheSet) {
    const struct {
        const char* name;
        bool missingArticle;  // else out-2.txt is a folder, which no part can replace
        qb::OutputEncoding encoding;
        int number;
    } cases[] = {{"an article missing", true, qb::OutputEncoding::ShiftJis, qb::err::kFileNotFound},
                 {"a part that cannot be replaced", false, qb::OutputEncoding::Utf8, qb::err::kPathFileAccess}};
    const Names kEarlier{u"out.txt", u"out-1.txt", u"out-3.txt"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(dir.Path() / "out-2.txt");
        for (const std::u16string& name : kEarlier) {
            qbtest::WriteBytes(dir.Path() / qb::ToPath(name), "earlier\r\n");
        }
        settings.outputEncoding = c.encoding;
        qb::ExportSettings kept = settings;
        if (c.missingArticle) {
            settings.articles.push_back({u"gone.txt", qb::FromPath(dir.Path() / "gone.txt")});
        } else {
            fs::create_directories(dir.Path() / "out-2.txt");
        }
        EXPECT_EQ(Run(u"out", {5, 0}), qb::ExportOutcome::Failed);
        settings = kept;
        EXPECT_EQ(messages.Texts(), Names{qb::WriteFailedMessage(c.number)});
        for (const std::u16string& name : kEarlier) {
            EXPECT_EQ(Read(name), "earlier\r\n") << qb::Utf16ToUtf8(name);
        }
        EXPECT_EQ(qbtest::WorkFiles(dir.Path()), std::vector<std::string>{});
        ASSERT_EQ(Run(u"whole", {}), qb::ExportOutcome::Succeeded);
        // The first pass up to the missing article, or the whole re-encoded file.
        EXPECT_EQ(Read(u"out.txt.partial"), Read(u"whole.txt"));
    }
}

}  // namespace
