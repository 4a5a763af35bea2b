#include "export/import_record.h"

#include <string_view>

#include "common/run_error.h"

namespace qb {

namespace {

// What a record's line holds after its label.
enum class Then {
    Nothing,
    Title,     // the article's title
    Date,      // the DATE value
    Status,    // the STATUS value
    Category,  // the PRIMARY CATEGORY value
    Body,      // nothing; the body's lines follow the line
    Break,     // the line break mark when line breaks are converted
};

struct RecordLine {
    std::u16string_view label;
    Then then;
};

// The marks of the body: before its first line, and at the end of every line (and of the
// two break lines) when line breaks are converted.
constexpr std::u16string_view kParagraphStart = u"<P>";
constexpr std::u16string_view kLineBreak = u"<BR>";

// An import record, line by line in the order written. The labels carry the spaces that
// part them from their values; "AUTHOR:" gets no value, the three flags are fixed text.
constexpr RecordLine kRecordLines[] = {
    {u"AUTHOR:", Then::Nothing},
    {u"TITLE: ", Then::Title},
    {u"DATE:  ", Then::Date},
    {u"STATUS:   ", Then::Status},
    {u"ALLOW COMMENTS: 0", Then::Nothing},
    {u"CONVERT BREAKS: 0", Then::Nothing},
    {u"ALLOW PINGS: 0", Then::Nothing},
    {u"PRIMARY CATEGORY: ", Then::Category},
    {u"-----", Then::Nothing},
    {u"BODY:", Then::Body},
    {u"", Then::Break},
    {u"</P>", Then::Nothing},
    {u"", Then::Break},
    {u"-----", Then::Nothing},
    {u"--------", Then::Nothing},
};

void WriteLine(ImportFile& out, std::u16string_view label, std::u16string_view value = {}) {
    out.Write(label);
    out.Write(value);
    out.EndLine();
}

// Label + the article's title, written in pieces: a long title is not held whole. The
// line is cut where it would pass the line limit.
void WriteTitleLine(ImportFile& out, std::u16string_view label, LineKind kind, const RecordValues& v,
                    const ArticleFile& article) {
    out.BeginLine(kind);
    out.Write(label);
    WriteTitle(v.title, article, out);
    out.EndLine();
}

}  // namespace

std::u16string StatusValue(PublishStatus status) {
    switch (status) {
    case PublishStatus::Future:
        return u"Future";
    case PublishStatus::Publish:
        return u"Publish";
    case PublishStatus::Draft:
        return u"Draft";
    case PublishStatus::NotChosen:
        break;
    }
    return {};
}

std::u16string DateText(const DateFields& fields) {
    std::u16string text;
    text.reserve(19);
    text += fields.month;
    text += u'/';
    text += fields.day;
    text += u'/';
    text += fields.year;
    text += u' ';
    text += fields.hour;
    text += u':';
    text += fields.minute;
    text += u":00";
    return text;
}

std::u16string CategoryValue(const ExportSettings& settings, const ListedArticle& listed, std::u16string_view title) {
    switch (settings.categoryRule) {
    case CategoryRule::FolderName:
        return GetArticleFolderName(listed.path);
    case CategoryRule::Title:
        return std::u16string(title);
    case CategoryRule::GivenName:
        return settings.categoryName;
    case CategoryRule::FileName: {
        const std::u16string& name = listed.name;
        if (name.size() < 4) {
            throw RunError(err::kInvalidCall, "file name shorter than 4 characters");
        }
        return name.substr(0, name.size() - 4);
    }
    case CategoryRule::NotChosen:
        break;
    }
    return {};
}

void WriteRecord(ImportFile& out, ArticleFile& article, const RecordValues& values,
                 const std::function<void()>& dateWritten) {
    const ExportSettings& s = values.settings;
    const std::u16string_view lineEnd = s.kaigyoMode == KaigyoMode::Br ? kLineBreak : std::u16string_view{};
    for (const RecordLine& line : kRecordLines) {
        switch (line.then) {
        case Then::Nothing:
            WriteLine(out, line.label);
            break;
        case Then::Title:
            WriteTitleLine(out, line.label, LineKind::Title, values, article);
            break;
        case Then::Date:
            WriteLine(out, line.label, DateText(values.date));
            dateWritten();
            break;
        case Then::Status:
            WriteLine(out, line.label, StatusValue(s.publishStatus));
            break;
        case Then::Category:
            if (s.categoryRule == CategoryRule::Title) {
                WriteTitleLine(out, line.label, LineKind::TitleValue, values, article);
            } else {
                // Worked out before the line is begun: a failure leaves no part of it.
                const std::u16string category = CategoryValue(s, values.listed, values.title.text);
                WriteLine(out, line.label, category);
            }
            break;
        case Then::Body:
            WriteLine(out, line.label);
            TranscribeBody(article, s.titleMode, {kParagraphStart, lineEnd}, out);
            break;
        case Then::Break:
            WriteLine(out, line.label, lineEnd);
            break;
        }
    }
}

}  // namespace qb
