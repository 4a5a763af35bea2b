#include "export/import_record.h"

#include "common/run_error.h"
#include "export/entry_dates.h"

namespace qb {

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

std::u16string CategoryValue(ExportRun& run, std::size_t index, std::u16string_view articlePath) {
    switch (run.settings.categoryRule) {
    case CategoryRule::FolderName:
        GetArticleFolderName(run, articlePath);
        return run.ArticleFolderName;
    case CategoryRule::Title:
        return run.EntryTitle;
    case CategoryRule::GivenName:
        return run.settings.categoryName;
    case CategoryRule::FileName: {
        const std::u16string& name = run.settings.articles.at(index).name;
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

namespace {

// The record's lines by the label each starts with.
enum Label : std::size_t {
    kEmpty = 0,
    kAuthor = 1,
    kTitle = 2,
    kDate = 3,
    kStatus = 4,
    kAllowComments = 5,
    kConvertBreaks = 6,
    kAllowPings = 7,
    kCategory = 8,
    kSeparator = 9,
    kBody = 10,
    kBreakAfterBody = 11,
    kParagraphEnd = 12,
    kBreakAfterParagraph = 13,
    kBodyEnd = 14,
    kRecordEnd = 15,
};

// One line: the label followed by value, composed in the run's line buffer.
void WriteLabelled(ExportRun& run, ImportFile& out, Label label, std::u16string_view value = {}) {
    run.LineBuffer = run.RecordLabels.at(label);
    run.LineBuffer += value;
    out.WriteLine(run.LineBuffer);
}

// "<BR>" when line breaks are converted, else an empty line.
void WriteBreakOrEmpty(ExportRun& run, ImportFile& out, Label label) {
    WriteLabelled(run, out, run.settings.kaigyoMode == KaigyoMode::Br ? label : kEmpty);
}

// Label + the article's title, written in pieces: a long title is not held whole.
void WriteTitleLine(ExportRun& run, ImportFile& out, Label label, const ArticleFile& article) {
    out.Write(run.RecordLabels.at(label));
    WriteTitle(run, article, out);
    out.EndLine();
}

}  // namespace

void WriteRecord(ExportRun& run, ImportFile& out, ArticleFile& article, std::size_t index) {
    const ExportSettings& s = run.settings;
    WriteLabelled(run, out, kAuthor);

    ReadTitle(run, article, run.messages);
    WriteTitleLine(run, out, kTitle, article);

    WriteLabelled(run, out, kDate, DateText(run.fields));
    if (s.publishStatus == PublishStatus::Future) {
        AdvanceForNextRecord(run.dates, run.fields, s.dayStep, s.timeStep, run.clock);
    }
    WriteLabelled(run, out, kStatus, StatusValue(s.publishStatus));
    WriteLabelled(run, out, kAllowComments);
    WriteLabelled(run, out, kConvertBreaks);
    WriteLabelled(run, out, kAllowPings);

    if (s.categoryRule == CategoryRule::Title) {
        WriteTitleLine(run, out, kCategory, article);  // a long title in full here too
    } else {
        WriteLabelled(run, out, kCategory, CategoryValue(run, index, run.CurrentPath));
    }
    WriteLabelled(run, out, kSeparator);

    WriteLabelled(run, out, kBody);
    TranscribeBody(run, article, out);
    WriteBreakOrEmpty(run, out, kBreakAfterBody);
    WriteLabelled(run, out, kParagraphEnd);
    WriteBreakOrEmpty(run, out, kBreakAfterParagraph);
    WriteLabelled(run, out, kBodyEnd);
    WriteLabelled(run, out, kRecordEnd);
}

}  // namespace qb
