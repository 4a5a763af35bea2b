#include "encoding/text_lines.h"

#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

struct Line {
    std::string text;
    std::uint64_t start;
    bool operator==(const Line&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Line& l) { return out << '"' << l.text << "\"@" << l.start; }

// Every line with where it starts; no piece may be longer than a chunk.
std::vector<Line> ReadAll(const std::string& content, std::size_t chunk) {
    std::istringstream in(content);
    qb::LineReader reader(in, chunk);
    std::vector<Line> lines;
    while (reader.StartLine()) {
        Line line{"", reader.LineStart()};
        for (std::string_view piece; reader.NextPiece(piece);) {
            EXPECT_FALSE(piece.empty());
            EXPECT_LE(piece.size(), chunk);
            line.text += piece;
        }
        lines.push_back(line);
    }
    EXPECT_TRUE(reader.AtEnd());
    return lines;
}

TEST(LineReader, SplitsAtCrLfLoneCrAndLoneLfInBoundedPieces) {
    using Lines = std::vector<Line>;
    const struct {
        std::string content;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"a", {{"a", 0}}},
        {"a\r\n", {{"a", 0}}},
        {"a\r\nb", {{"a", 0}, {"b", 3}}},
        {"a\r\n\r\n", {{"a", 0}, {"", 3}}},
        {"a\rb\r", {{"a", 0}, {"b", 2}}},
        {"a\nb\r\n", {{"a", 0}, {"b", 2}}},
        {"\n", {{"", 0}}},
        {"\n\r", {{"", 0}, {"", 1}}},
        {"\r\r\n\r", {{"", 0}, {"", 1}, {"", 3}}},
        {"a\r\n\nb", {{"a", 0}, {"", 3}, {"b", 4}}},
        {"long line\nx", {{"long line", 0}, {"x", 10}}},
    };
    for (const auto& c : cases) {
        for (std::size_t chunk : {1U, 2U, 3U, 64U}) {
            EXPECT_EQ(ReadAll(c.content, chunk), c.lines) << "chunk " << chunk;
        }
    }
}

TEST(LineReader, HeadLooksAheadAndSkipPassesOverIt) {
    std::istringstream in("\xEF\xBB\xBFtitle\nbody");
    qb::LineReader reader(in, 4);
    EXPECT_EQ(reader.Head(), "\xEF\xBB\xBFt");
    EXPECT_TRUE(reader.MoreAfterHead());
    reader.Skip(3);
    std::string line;
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(line, "title");
    EXPECT_EQ(reader.LineStart(), 3U);
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(line, "body");
    EXPECT_FALSE(reader.Next(line));
}

}  // namespace
