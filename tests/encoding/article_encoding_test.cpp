#include "encoding/article_encoding.h"

#include <iterator>
#include <sstream>
#include <streambuf>
#include <string>

#include <gtest/gtest.h>

#include "common/run_error.h"
#include "support/test_support.h"

namespace {

using qb::ArticleEncoding;
using qb::TextEncoding;

// A stream that can be read but not repositioned, as a pipe.
class Unrepositionable : public std::streambuf {
public:
    explicit Unrepositionable(std::string data) : data_(std::move(data)) {
        setg(data_.data(), data_.data(), data_.data() + data_.size());
    }

private:
    std::string data_;
};

TEST(RecogniseArticle, ReadsOnPastTheHeadAndPutsTheStreamBack) {
    const struct {
        std::string head;
        std::string rest;
        TextEncoding encoding;
    } cases[] = {
        {"\xC3\xA9", "abc", TextEncoding::Utf8},
        {"\xC3", "\xA9", TextEncoding::Utf8},             // a character across the head's end
        {"\xC3\xA9", "ab\x82\xA0", TextEncoding::Cp932},  // あ in Shift_JIS, after the head
        {"abc", "def", TextEncoding::Cp932},              // ASCII only
        {"abc", "\xE3\x81\x82", TextEncoding::Utf8},
        {"abc", "\xE3\x81", TextEncoding::Cp932},  // ends inside a character
    };
    for (const auto& c : cases) {
        std::istringstream rest(c.rest);
        const qb::ArticleStart start = qb::RecogniseArticle(ArticleEncoding::Auto, c.head, &rest, 1);
        EXPECT_EQ(start.encoding, c.encoding) << c.head << c.rest;
        EXPECT_EQ(start.markLength, 0U);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(rest), {}), c.rest);
    }
    // What cannot be read twice cannot be recognised past its head.
    Unrepositionable pipe("abc");
    std::istream rest(&pipe);
    EXPECT_EQ(qbtest::RunErrorNumber([&] { (void)qb::RecogniseArticle(ArticleEncoding::Auto, "\xC3\xA9", &rest, 1); }),
              qb::err::kDeviceIo);
    // A head that decides needs no second reading.
    EXPECT_EQ(qb::RecogniseArticle(ArticleEncoding::Auto, "\x82\xA0", &rest, 1).encoding, TextEncoding::Cp932);
    EXPECT_EQ(qb::RecogniseArticle(ArticleEncoding::Auto, "\xEF\xBB\xBF", &rest, 1).markLength, 3U);
}

}  // namespace
