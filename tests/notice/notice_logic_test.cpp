// The title test, the page decoding and the slide arithmetic, without network or windows.
#include "notice/notice_probe.h"
#include "notice/notice_slide.h"

#include <gtest/gtest.h>

namespace qb::notice {
namespace {

// Read through GetParam(), which cppcheck does not follow.
struct TitleCase {
    const char* name;
    // cppcheck-suppress unusedStructMember
    QString page;
    // cppcheck-suppress unusedStructMember
    bool shows;
};

void PrintTo(const TitleCase& c, std::ostream* os) { *os << c.name; }

class TitleTest : public ::testing::TestWithParam<TitleCase> {};

TEST_P(TitleTest, DecidesOnTheFirstTitle) {
    EXPECT_EQ(TitleShowsNotice(GetParam().page), GetParam().shows) << GetParam().name;
}

QString Filler(int n) { return QString(n, QLatin1Char('x')); }

INSTANTIATE_TEST_SUITE_P(
    Pages, TitleTest,
    ::testing::Values(
        TitleCase{"normal", QStringLiteral("<html><head><title>お知らせ</title></head></html>"), true},
        TitleCase{"404_error_and_more", QStringLiteral("<title>404 error - page not found</title>"), false},
        TitleCase{"404_error_exactly_at_end", QStringLiteral("<title>404 error"), false},
        TitleCase{"404_Error_capital", QStringLiteral("<title>404 Error</title>"), true},
        TitleCase{"404_erro_cut_short", QStringLiteral("<title>404 erro"), true},
        TitleCase{"capital_tag", QStringLiteral("<TITLE>Notice</TITLE>"), false},
        TitleCase{"mixed_case_tag", QStringLiteral("<Title>Notice</Title>"), false},
        TitleCase{"no_title", QStringLiteral("<html><body>hello</body></html>"), false},
        TitleCase{"empty_page", QString(), false}, TitleCase{"short_title", QStringLiteral("<title>Hi</title>"), true},
        TitleCase{"tag_at_very_end", QStringLiteral("<p><title>"), true},
        TitleCase{"first_title_counts_shown", QStringLiteral("<title>News</title><title>404 error</title>"), true},
        TitleCase{"first_title_counts_hidden", QStringLiteral("<title>404 error</title><title>News</title>"), false},
        TitleCase{"title_with_space_in_tag", QStringLiteral("<title >News</title>"), false},
        TitleCase{"title_past_32760_shown", Filler(40000) + QStringLiteral("<title>News</title>"), true},
        TitleCase{"title_past_32760_404", Filler(40000) + QStringLiteral("<title>404 error</title>"), false},
        TitleCase{"title_past_65536_shown", Filler(70000) + QStringLiteral("<title>News</title>"), true}),
    [](const ::testing::TestParamInfo<TitleCase>& info) { return std::string(info.param.name); });

TEST(CharsetTest, FromContentType) {
    EXPECT_EQ(CharsetFromContentType("text/html; charset=Shift_JIS"), "Shift_JIS");
    EXPECT_EQ(CharsetFromContentType("text/html;charset=\"EUC-JP\""), "EUC-JP");
    EXPECT_EQ(CharsetFromContentType("text/html; CHARSET = utf-8"), "utf-8");
    EXPECT_EQ(CharsetFromContentType("text/html"), "");
    EXPECT_EQ(CharsetFromContentType(""), "");
}

TEST(CharsetTest, FromMeta) {
    EXPECT_EQ(CharsetFromMeta("<html><head><meta charset=\"EUC-JP\"></head>"), "EUC-JP");
    EXPECT_EQ(CharsetFromMeta("<HEAD><META HTTP-EQUIV=\"Content-Type\" "
                              "CONTENT=\"text/html; charset=x-sjis\"></HEAD>"),
              "x-sjis");
    EXPECT_EQ(CharsetFromMeta("<head><meta name=\"author\" content=\"a\"></head>"), "");
    // Only the head counts.
    EXPECT_EQ(CharsetFromMeta("<head></head><body><meta charset=\"EUC-JP\"></body>"), "");
}

// "お知らせ 新しい版" in three encodings, bytes as iconv writes them.
const QByteArray kSjis = QByteArray::fromHex("82a8926d82e782b920905682b582a294c5");
const QByteArray kEucJp = QByteArray::fromHex("a4aac3cea4e9a4bb20bfb7a4b7a4a4c8c7");
const QString kText = QStringLiteral("お知らせ 新しい版");

// Read through GetParam(), which cppcheck does not follow.
struct DecodeCase {
    const char* name;
    // cppcheck-suppress unusedStructMember
    QByteArray body;
    // cppcheck-suppress unusedStructMember
    QByteArray contentType;
    // cppcheck-suppress unusedStructMember
    QString expected;
};

void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.name; }

class DecodeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTest, Decodes) {
    EXPECT_EQ(DecodePage(GetParam().body, GetParam().contentType), GetParam().expected) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Pages, DecodeTest,
    ::testing::Values(DecodeCase{"sjis_header", kSjis, "text/html; charset=Shift_JIS", kText},
                      DecodeCase{"sjis_header_hyphen", kSjis, "text/html; charset=Shift-JIS", kText},
                      DecodeCase{"eucjp_header", kEucJp, "text/html; charset=EUC-JP", kText},
                      DecodeCase{"utf8_header", kText.toUtf8(), "text/html; charset=UTF-8", kText},
                      DecodeCase{"eucjp_meta", "<head><meta charset=euc-jp></head>" + kEucJp, "text/html",
                                 QStringLiteral("<head><meta charset=euc-jp></head>") + kText},
                      DecodeCase{"sjis_http_equiv",
                                 "<head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                                 "charset=Shift_JIS\"></head>" +
                                     kSjis,
                                 "",
                                 QStringLiteral("<head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                                                "charset=Shift_JIS\"></head>") +
                                     kText},
                      DecodeCase{"header_wins_over_meta", "<head><meta charset=utf-8></head>" + kSjis,
                                 "text/html; charset=Shift_JIS",
                                 QStringLiteral("<head><meta charset=utf-8></head>") + kText},
                      DecodeCase{"unknown_header_label_falls_to_meta", "<head><meta charset=EUC-JP></head>" + kEucJp,
                                 "text/html; charset=bogus-x",
                                 QStringLiteral("<head><meta charset=EUC-JP></head>") + kText},
                      DecodeCase{"unlabelled_utf8", kText.toUtf8(), "text/html", kText},
                      DecodeCase{"unlabelled_sjis", kSjis, "text/html", kText},
                      // These bytes are also clean Shift_JIS, as half-width katakana.
                      DecodeCase{"unlabelled_eucjp", "<title>" + kEucJp + "</title>", "text/html",
                                 QStringLiteral("<title>") + kText + QStringLiteral("</title>")},
                      // Neither reads clean: "お知らせ" in Shift_JIS then a byte that is no character
                      // (code page 932 gives 0xFF a code point of its own).
                      DecodeCase{"unlabelled_sjis_with_a_bad_byte", kSjis.left(8) + "\xFF", "",
                                 QStringLiteral("お知らせ") + QChar(0xF8F3)},
                      DecodeCase{"utf8_bom_wins", "\xEF\xBB\xBF" + kText.toUtf8(), "text/html; charset=EUC-JP", kText},
                      // Code page 932 extensions: circled one, "(株)".
                      DecodeCase{"sjis_cp932_extensions", QByteArray::fromHex("8740878a"),
                                 "text/html; charset=Shift_JIS", QStringLiteral("①㈱")}),
    [](const ::testing::TestParamInfo<DecodeCase>& info) { return std::string(info.param.name); });

TEST(SlideTest, RestsAfter93TicksOnA768PixelScreen) {
    const float screen = 11520.0f;
    NoticeSlide slide;
    slide.SetTop(screen);
    for (int tick = 1; tick <= 92; ++tick)
        ASSERT_TRUE(slide.Tick(screen)) << "stopped early at tick " << tick;
    EXPECT_EQ(slide.Top(), 6920.0f);  // equal to screen - 4600: not yet
    EXPECT_FALSE(slide.Tick(screen));
    EXPECT_EQ(slide.Ticks(), 93);
    EXPECT_EQ(slide.Top(), 6870.0f);
    EXPECT_TRUE(slide.Stopped());
    // Stopped for good: a late tick moves nothing.
    EXPECT_FALSE(slide.Tick(screen));
    EXPECT_EQ(slide.Top(), 6870.0f);
    EXPECT_EQ(slide.Ticks(), 93);
}

TEST(SlideTest, StopTickForOtherScreens) {
    for (const float screen : {9000.0f, 15360.0f, 16200.0f, 32400.0f}) {
        NoticeSlide slide;
        slide.SetTop(screen);
        int ticks = 0;
        while (slide.Tick(screen) && ticks < 1000)
            ++ticks;
        EXPECT_EQ(slide.Ticks(), 93) << screen;
        EXPECT_EQ(slide.Top(), screen - 4650.0f) << screen;
    }
}

TEST(SlideTest, ReadsTheScreenHeightAnewEachTick) {
    NoticeSlide slide;
    slide.SetTop(11520.0f);
    for (int tick = 1; tick <= 10; ++tick)
        ASSERT_TRUE(slide.Tick(11520.0f));
    // The screen grows to 1024 pixels: the rest line is now 10760, passed at tick 16.
    while (slide.Tick(15360.0f) && slide.Ticks() < 1000) {
    }
    EXPECT_EQ(slide.Ticks(), 16);
    EXPECT_EQ(slide.Top(), 10720.0f);
}

TEST(SlideTest, TwipsToNearestPixel) {
    EXPECT_EQ(TwipsToPixels(6870.0f), 458);
    EXPECT_EQ(TwipsToPixels(6920.0f), 461);   // 461.33
    EXPECT_EQ(TwipsToPixels(11470.0f), 765);  // 764.67
    EXPECT_EQ(TwipsToPixels(5385.0f), 359);
    EXPECT_EQ(TwipsToPixels(3495.0f), 233);
    EXPECT_EQ(TwipsToPixels(5500.0f), 367);  // 366.67
    EXPECT_EQ(TwipsToPixels(4000.0f), 267);  // 266.67
    EXPECT_EQ(TwipsToPixels(-50.0f), -3);
}

}  // namespace
}  // namespace qb::notice
