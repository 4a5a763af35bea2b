#include "export/loss_report.h"

#include <string_view>

#include "common/utf8_decode.h"
#include "export/messages.h"

namespace qb {

namespace {

std::u16string Character(char32_t c) {
    std::u16string text;
    AppendCodePoint(c, text);
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::u16string code;
    for (int shift = c >= 0x10000 ? 16 : 12; shift >= 0; shift -= 4) {
        code += static_cast<char16_t>(kHex[(c >> static_cast<unsigned>(shift)) & 0xFU]);
    }
    return u"「" + text + u"」(U+" + code + u")";
}

}  // namespace

void LossReport::Case::Add(const std::u16string& name, std::uint64_t n) {
    count += n;
    ++articles;
    if (names.size() < kNamesShown) {
        names.push_back(name);
    }
}

void LossReport::Add(const std::u16string& name, const LineLosses& losses) {
    if (losses.questionMarks > 0) {
        questionMarks_.Add(name, losses.questionMarks);
    }
    if (losses.titleCut) {
        titlesCut_.Add(name, 1);
    }
    if (losses.tagsWhole > 0) {
        tagsWhole_.Add(name, losses.tagsWhole);
    }
}

void LossReport::AddRepeat(const std::u16string& name) { repeats_.Add(name, 1); }

std::u16string LossReport::Text() const {
    struct Row {
        const Case& what;
        std::u16string_view text;
        std::u16string_view unit;
    };
    const Row rows[] = {
        {questionMarks_, u"「?」で書いた文字", u" 文字"},
        {titlesCut_, u"長すぎて切り詰めたタイトル", u" 件"},
        {tagsWhole_, u"長すぎて折り返せなかったタグ", u" 件"},
        {repeats_, u"前の記事とタイトルも日付も同じ記事 (WordPress は取り込みません)", u" 件"},
    };
    std::u16string text;
    for (const Row& row : rows) {
        if (row.what.count == 0) {
            continue;
        }
        if (!text.empty()) {
            text += u'\n';
        }
        text += row.text;
        text += u": ";
        text += NumberText(row.what.count);
        text += row.unit;
        text += u" (";
        for (std::size_t i = 0; i < row.what.names.size(); ++i) {
            text += i == 0 ? u"" : u"、";
            text += row.what.names[i];
        }
        if (row.what.articles > row.what.names.size()) {
            text += u" ほか " + NumberText(row.what.articles - row.what.names.size()) + u" 記事";
        }
        text += u')';
    }
    return text;
}

std::u16string EucGapText(const std::u16string& name, const EucGap& gap) {
    std::u16string where;
    switch (gap.kind) {
    case LineKind::Title:
        where = u"タイトル";
        break;
    case LineKind::Body:
        where = u"本文 " + NumberText(gap.bodyLine) + u" 行目";
        break;
    case LineKind::Plain:
    case LineKind::TitleValue:
        where = u"カテゴリ";
        break;
    }
    return u"記事「" + name + u"」の" + where + u"の" + Character(gap.character) + u" は EUC-JP にない文字です。";
}

}  // namespace qb
