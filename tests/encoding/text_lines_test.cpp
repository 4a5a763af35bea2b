#include "encoding/text_lines.h"

#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::vector<std::string> ReadAll(const std::string& content, std::size_t chunk) {
    std::istringstream in(content);
    qb::LineReader reader(in, chunk);
    std::vector<std::string> lines;
    std::string line;
    while (reader.Next(line)) {
        lines.push_back(line);
    }
    return lines;
}

TEST(LineReader, SplitsAtCrLfAndLoneCrOnly) {
    using Lines = std::vector<std::string>;
    const struct {
        std::string content;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"a\r\n\r\n", {"a", ""}},
        {"a\rb\r", {"a", "b"}},
        {"a\nb\r\n", {"a\nb"}},
        {"\n", {"\n"}},
        {"\r\r\n\r", {"", "", ""}},
        {"a\r\n\nb", {"a", "\nb"}},
    };
    for (const auto& c : cases) {
        for (std::size_t chunk : {1U, 2U, 3U, 64U}) {
            EXPECT_EQ(ReadAll(c.content, chunk), c.lines) << "chunk " << chunk;
        }
    }
}

}  // namespace
