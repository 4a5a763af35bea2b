#pragma once
// The words of every choice an export offers, one table per choice: the exporter's word,
// the window's entry (an option button's caption or a list entry) and the value the
// engine takes. The window and the exporter both read their choices through these tables,
// so a word and an entry for the same value stand in one row.

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

#include "encoding/article_encoding.h"
#include "export/export_settings.h"

namespace qb {

template <typename T>
struct Choice {
    std::string_view word;      // the exporter's word
    std::u16string_view entry;  // the window's; empty where the window does not offer it
    T value;
};

inline constexpr std::array<Choice<PublishStatus>, 3> kPublishStatuses{{
    {"future", u"指定日", PublishStatus::Future},
    {"publish", u"公　開", PublishStatus::Publish},
    {"draft", u"未公開", PublishStatus::Draft},
}};

inline constexpr std::array<Choice<DayStep>, 4> kDaySteps{{
    {"0", u"同日", DayStep::SameDay},
    {"1", u"１日", DayStep::OneDay},
    {"2", u"２日", DayStep::TwoDays},
    {"3", u"３日", DayStep::ThreeDays},
}};

// In the window's list order: the window takes a time step by its place in the list.
inline constexpr std::array<Choice<TimeStep>, 15> kTimeSteps{{
    {"none", u"変更なし", {TimeStep::Kind::Unchanged, 0}},
    {"random", u"ランダム", {TimeStep::Kind::Random, 0}},
    {"30m", u"３０分", {TimeStep::Kind::HalfHour, 0}},
    {"1h", u"１時間", {TimeStep::Kind::Hours, 1}},
    {"2h", u"２時間", {TimeStep::Kind::Hours, 2}},
    {"3h", u"３時間", {TimeStep::Kind::Hours, 3}},
    {"4h", u"４時間", {TimeStep::Kind::Hours, 4}},
    {"5h", u"５時間", {TimeStep::Kind::Hours, 5}},
    {"6h", u"６時間", {TimeStep::Kind::Hours, 6}},
    {"7h", u"７時間", {TimeStep::Kind::Hours, 7}},
    {"8h", u"８時間", {TimeStep::Kind::Hours, 8}},
    {"9h", u"９時間", {TimeStep::Kind::Hours, 9}},
    {"10h", u"１０時間", {TimeStep::Kind::Hours, 10}},
    {"11h", u"１１時間", {TimeStep::Kind::Hours, 11}},
    {"12h", u"１２時間", {TimeStep::Kind::Hours, 12}},
}};

inline constexpr std::array<Choice<CategoryRule>, 4> kCategoryRules{{
    {"folder", u"フォルダー名を使う", CategoryRule::FolderName},
    {"title", u"タイトルを使う", CategoryRule::Title},
    {"name", u"以下に指定した名を使う", CategoryRule::GivenName},
    {"file", u"ファイル名を使う", CategoryRule::FileName},
}};

inline constexpr std::array<Choice<TitleMode>, 2> kTitleModes{{
    {"title", u"タイトルのみ", TitleMode::TitleOnly},
    {"title-and-body", u"タイトル＆本文", TitleMode::TitleAndBody},
}};

inline constexpr std::array<Choice<KaigyoMode>, 2> kKaigyoModes{{
    {"none", u"なし", KaigyoMode::Keep},
    {"br", u"改行を変換する", KaigyoMode::Br},
}};

inline constexpr std::array<Choice<OutputEncoding>, 3> kOutputEncodings{{
    {"utf-8", u"UTF-8", OutputEncoding::Utf8},
    {"euc-jp", u"EUC", OutputEncoding::EucJp},
    {"shift_jis", u"Shift-JIS", OutputEncoding::ShiftJis},
}};

inline constexpr std::array<Choice<LineEnds>, 2> kLineEnds{{
    {"crlf", u"CR+LF", LineEnds::CrLf},
    {"lf", u"LF", LineEnds::Lf},
}};

// The window offers Reference as one check box, with the caption as its entry.
inline constexpr std::array<Choice<PlatformChars>, 2> kPlatformChars{{
    {"keep", u"", PlatformChars::Keep},
    {"reference", u"機種依存文字を文字参照で書く", PlatformChars::Reference},
}};

// The window's ways of writing a big blog in parts, each safely under its importer's
// limits: Hatena Blog takes under 5,000 entries and under 100 MB at a time, Movable Type
// an upload of 20,480,000 bytes (CGIMaxUpload), WordPress what PHP takes by default (2 MiB,
// 2,097,152 bytes). In the window's list order; the exporter takes numbers instead.
inline constexpr std::array<Choice<SplitLimits>, 4> kSplitChoices{{
    {"", u"分割しない", {0, 0}},
    {"", u"はてなブログ用（5,000 件・100 MB 未満）", {4999, 99000000}},
    {"", u"Movable Type 用（20 MB まで）", {0, 20000000}},
    {"", u"WordPress 用（2 MB まで）", {0, 2000000}},
}};

inline constexpr std::array<Choice<ArticleEncoding>, 3> kArticleEncodings{{
    {"auto", u"", ArticleEncoding::Auto},
    {"shift_jis", u"", ArticleEncoding::ShiftJis},
    {"utf-8", u"", ArticleEncoding::Utf8},
}};

// The row of a table whose word is word; none: nullptr.
template <typename T, std::size_t N>
[[nodiscard]] constexpr const Choice<T>* FindWord(const std::array<Choice<T>, N>& choices, std::string_view word) {
    const auto found =
        std::find_if(choices.begin(), choices.end(), [word](const Choice<T>& choice) { return choice.word == word; });
    return found == choices.end() ? nullptr : &*found;
}

// The value of the row whose window entry is entry; none: otherwise.
template <typename T, std::size_t N>
[[nodiscard]] constexpr T ValueOfEntry(const std::array<Choice<T>, N>& choices, std::u16string_view entry,
                                       T otherwise) {
    const auto found = std::find_if(choices.begin(), choices.end(), [entry](const Choice<T>& choice) {
        return !choice.entry.empty() && choice.entry == entry;
    });
    return found == choices.end() ? otherwise : found->value;
}

}  // namespace qb
