// The import file in parts: the plan, the names, and export runs whose parts put together
// are the unsplit file, byte for byte.

#include "export/import_parts.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;
using qb::SplitLimits;
using Names = std::vector<std::u16string>;
using Counts = std::vector<std::uint64_t>;

// Records of 10, 20, 30, 40 and 50 bytes, each placed at its end, or as soon as it is
// larger than hold; a part is given as its end and record count.
TEST(PartPlan, GreedyWholeRecordsUnderBothLimits) {
    const Counts sizes{10, 20, 30, 40, 50};
    const std::uint64_t none = 1000;  // larger than every record
    const struct {
        const char* name;
        SplitLimits limits;
        std::uint64_t hold;
        std::vector<qb::FilePart> parts;
    } cases[] = {
        {"no limit", {}, none, {{0, 150, 5}}},
        {"exactly k records", {5, 0}, none, {{0, 150, 5}}},
        {"k + 1 records", {4, 0}, none, {{0, 100, 4}, {100, 150, 1}}},
        {"k + 1 records, placed early", {4, 0}, 5, {{0, 100, 4}, {100, 150, 1}}},
        {"size of the file", {0, 150}, none, {{0, 150, 5}}},
        {"by size", {0, 60}, none, {{0, 60, 3}, {60, 100, 1}, {100, 150, 1}}},
        {"over the size alone", {0, 35}, 35, {{0, 30, 2}, {30, 60, 1}, {60, 100, 1, true}, {100, 150, 1, true}}},
        {"by both", {2, 60}, none, {{0, 30, 2}, {30, 60, 1}, {60, 100, 1}, {100, 150, 1}}},
        {"placed early, a part of its own", {0, 100}, 35, {{0, 60, 3}, {60, 100, 1}, {100, 150, 1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        qb::PartPlanner planner(c.limits);
        for (const std::uint64_t size : sizes) {
            planner.Place(std::min(size, c.hold + 1), size <= c.hold);
            planner.End(size);
        }
        EXPECT_EQ(planner.Finish(), c.parts);
    }
    EXPECT_EQ(qb::PartPlanner({1, 1}).Finish(), (std::vector<qb::FilePart>{{0, 0, 0}}));
}

// Record ends are found wherever the pieces of bytes break them: CR LF or LF after the
// line "--------", and nothing else ("x--------", nine dashes).
TEST(PartsWriter, ThePiecesTheBytesComeInChangeNothing) {
    const std::string first = "AUTHOR: a\r\nx--------\r\n---------\r\n--------\r\n";
    const std::string second = "AUTHOR: b\n--------\n";
    const std::string third = "AUTHOR: c\r\n--------\r\n";
    const std::string file = first + second + third;
    const std::uint64_t two = first.size() + second.size();
    for (const std::size_t piece : {std::size_t{1}, std::size_t{2}, std::size_t{5}, std::size_t{9}, file.size()}) {
        SCOPED_TRACE(piece);
        qbtest::TempDir dir;
        qb::PartsWriter parts(dir.Path() / ".quillbrook-parts", {0, two});
        for (std::size_t at = 0; at < file.size(); at += piece) {
            parts.Put(std::string_view(file).substr(at, piece));
        }
        EXPECT_EQ(parts.Finish(), (std::vector<qb::FilePart>{{0, two, 2}, {two, file.size(), 1}}));
        parts.Commit({dir.Path() / "a.txt", dir.Path() / "b.txt"});
        EXPECT_EQ(qbtest::ReadBytes(dir.Path() / "a.txt"), first + second);
        EXPECT_EQ(qbtest::ReadBytes(dir.Path() / "b.txt"), third);
    }
}

TEST(PartPlan, NamesSortInOrderAndOnlyTheirPatternMatches) {
    EXPECT_EQ(qb::PartNames(u"ブログ", 1), Names{u"ブログ.txt"});
    EXPECT_EQ(qb::PartNames(u"b", 2), (Names{u"b-1.txt", u"b-2.txt"}));
    EXPECT_EQ(qb::PartNames(u"b", 12)[0], u"b-01.txt");
    EXPECT_EQ(qb::PartNames(u"b", 100)[8], u"b-009.txt");
    for (const std::u16string_view name : {u"b.txt", u"b-1.txt", u"b-007.txt"}) {
        EXPECT_TRUE(qb::IsPartName(name, u"b"));
    }
    for (const std::u16string_view name : {u"b-.txt", u"b-1a.txt", u"b-1.txt.partial", u"bb-1.txt", u"b--1.txt"}) {
        EXPECT_FALSE(qb::IsPartName(name, u"b"));
    }
}

class ExportParts : public ::testing::Test {
protected:
    // Twelve articles of titles of their own, the seventh far larger than the rest.
    ExportParts() {
        settings.outputFolder = dir.Text();
        settings.publishStatus = qb::PublishStatus::Publish;
        settings.categoryRule = qb::CategoryRule::Title;
        settings.startDate = {u"2026", u"04", u"01", u"09", u"00"};
        for (int i = 1; i <= 12; ++i) {
            const fs::path article = dir.Path() / ("a" + std::to_string(i) + ".txt");
            qbtest::WriteBytes(
                article, qbtest::SjisLines({u"記事" + std::u16string(1, static_cast<char16_t>(u'A' + i)), u"本文"}) +
                             std::string(i == 7 ? 5000 : 100 * i, 'x'));
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
    // The files of the folder named NAME.txt or NAME-<digits>.txt, sorted.
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
    // The ends of the records of an import file, after each "--------" line.
    static Counts RecordEnds(const std::string& file, qb::LineEnds lineEnds) {
        const std::string end = lineEnds == qb::LineEnds::Lf ? "--------\n" : "--------\r\n";
        Counts ends;
        for (auto at = file.find(end); at != std::string::npos; at = file.find(end, at + 1)) {
            ends.push_back(at + end.size());
        }
        return ends;
    }

    qbtest::TempDir dir;
    qb::ExportSettings settings;
    qbtest::FakeClock clock;
    qbtest::RecordingMessages messages;
};

TEST_F(ExportParts, PartsPutTogetherAreTheUnsplitFile) {
    using E = qb::OutputEncoding;
    const struct {
        const char* name;
        E encoding;
        qb::LineEnds lineEnds;
        std::uint64_t records;
        std::size_t bytesUpTo;   // the limit: the unsplit file's bytes up to this record's end; 0: none
        Counts counts;           // records of each file
        bool oversized = false;  // a record alone over the size, which the report names
    } cases[] = {
        {"no limit", E::ShiftJis, qb::LineEnds::CrLf, 0, 0, {12}},
        {"exactly k records, by size", E::ShiftJis, qb::LineEnds::Lf, 0, 12, {12}},
        {"k + 1 records", E::EucJp, qb::LineEnds::Lf, 11, 0, {11, 1}},
        {"one record each, padded names", E::Utf8, qb::LineEnds::Lf, 1, 0, Counts(12, 1)},
        {"a record over the size alone", E::ShiftJis, qb::LineEnds::CrLf, 0, 4, {4, 2, 1, 1, 1, 1, 1, 1}, true},
        {"by both", E::EucJp, qb::LineEnds::CrLf, 3, 6, {3, 3, 1, 3, 2}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        settings.outputEncoding = c.encoding;
        settings.lineEnds = c.lineEnds;
        ASSERT_EQ(Run(u"whole", {}), qb::ExportOutcome::Succeeded);
        const std::string whole = Read(u"whole.txt");
        const Counts ends = RecordEnds(whole, c.lineEnds);
        ASSERT_EQ(ends.size(), 12U);
        const SplitLimits limits{c.records, c.bytesUpTo == 0 ? 0 : ends[c.bytesUpTo - 1]};

        ASSERT_EQ(Run(u"out", limits), qb::ExportOutcome::Succeeded);
        const Names names = Files(u"out");
        ASSERT_EQ(names, qb::PartNames(u"out", c.counts.size()));
        std::string joined;
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string part = Read(names[i]);
            joined += part;
            EXPECT_EQ(RecordEnds(part, c.lineEnds).back(), part.size()) << i;
            EXPECT_EQ(RecordEnds(part, c.lineEnds).size(), c.counts[i]) << i;
            fs::remove(dir.Path() / qb::ToPath(names[i]));
        }
        EXPECT_EQ(joined, whole);
        EXPECT_EQ(messages.shown.at(0).details.empty(), limits == SplitLimits{});
        EXPECT_EQ(messages.shown[0].details.find(u"を超えます") != std::u16string::npos, c.oversized);
        EXPECT_EQ(qbtest::WorkFiles(dir.Path()), std::vector<std::string>{});
    }
}

// A run replaces the set: an earlier run's NAME.txt and NAME-<digits>.txt go, nothing
// else does, and a listed article never.
TEST_F(ExportParts, ASuccessfulRunReplacesTheSet) {
    // An earlier run's files begin as an import file does; out-2023.txt, of the pattern
    // but not so, is the user's own.
    const Names others{u"out-x.txt",       u"out-1.txt.bak", u"outer-1.txt",
                       u"out.txt.partial", u"a2-1.txt",      u"out-2023.txt"};
    for (const std::u16string& name : others) {
        qbtest::WriteBytes(dir.Path() / qb::ToPath(name), "earlier\r\n");
    }
    for (const std::u16string& name : Names{u"out.txt", u"out-3.txt", u"out-007.txt", u"out-4.txt"}) {
        qbtest::WriteBytes(dir.Path() / qb::ToPath(name), "AUTHOR:\r\nTITLE: earlier\r\n");
    }
    settings.articles.resize(2);
    settings.articles.push_back({u"out-4.txt", qb::FromPath(dir.Path() / "out-4.txt")});
    ASSERT_EQ(Run(u"out", {2, 0}), qb::ExportOutcome::Succeeded);
    EXPECT_EQ(Files(u"out"), (Names{u"out-1.txt", u"out-2.txt", u"out-2023.txt", u"out-4.txt"}));
    for (const std::u16string& name : others) {
        EXPECT_EQ(Read(name), "earlier\r\n");
    }
    const std::string first = std::to_string(Read(u"out-1.txt").size());
    EXPECT_EQ(messages.shown.at(0).details,
              u"書き込んだファイル:\nout-1.txt　2 件　" + std::u16string(first.begin(), first.end()) +
                  u" バイト\nout-2.txt　1 件　" + qb::Utf8ToUtf16(std::to_string(Read(u"out-2.txt").size())) +
                  u" バイト\n削除した前回のファイル:\nout-007.txt\nout-3.txt\nout.txt");
}

// A failed run, before the parts or while they are made, changes no file of the set; its
// first pass is kept whole as NAME.txt.partial, in Shift_JIS as it was written.
TEST_F(ExportParts, AFailedRunChangesNoFileOfTheSet) {
    const Names earlier{u"out.txt", u"out-1.txt", u"out-3.txt"};
    for (const bool missingArticle : {true, false}) {  // else out-2.txt is a folder
        SCOPED_TRACE(missingArticle);
        for (const std::u16string& name : earlier) {
            qbtest::WriteBytes(dir.Path() / qb::ToPath(name), "earlier\r\n");
        }
        settings.outputEncoding = qb::OutputEncoding::ShiftJis;
        ASSERT_EQ(Run(u"whole", {}), qb::ExportOutcome::Succeeded);
        settings.outputEncoding = missingArticle ? qb::OutputEncoding::ShiftJis : qb::OutputEncoding::Utf8;
        if (missingArticle) {
            settings.articles.push_back({u"gone.txt", qb::FromPath(dir.Path() / "gone.txt")});
        } else {
            fs::create_directories(dir.Path() / "out-2.txt");
        }
        EXPECT_EQ(Run(u"out", {5, 0}), qb::ExportOutcome::Failed);
        EXPECT_EQ(messages.Texts(), Names{qb::WriteFailedMessage(missingArticle ? 53 : 75)});
        for (const std::u16string& name : earlier) {
            EXPECT_EQ(Read(name), "earlier\r\n");
        }
        EXPECT_EQ(Read(u"out.txt.partial"), Read(u"whole.txt"));
        EXPECT_EQ(qbtest::WorkFiles(dir.Path()), std::vector<std::string>{});
        settings.articles.resize(12);
    }
}

}  // namespace
