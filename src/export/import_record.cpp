#include "export/import_record.h"

#include "common/run_error.h"
#include "export/entry_dates.h"

namespace qb {

std::u16string StatusValue(const WindowModel& window) {
    if (window.Option1) {
        return u"Future";
    }
    if (window.Option2) {
        return u"Publish";
    }
    if (window.Option3) {
        return u"Draft";
    }
    return {};
}

std::u16string DateText(const WindowModel& window) {
    std::u16string text;
    text.reserve(19);
    text += window.Text2;
    text += u'/';
    text += window.Text3;
    text += u'/';
    text += window.Text1;
    text += u' ';
    text += window.Text4;
    text += u':';
    text += window.Text5;
    text += u":00";
    return text;
}

std::u16string CategoryValue(Module1& module, const WindowModel& window, std::size_t index,
                             std::u16string_view articlePath) {
    if (window.Option7) {
        GetArticleFolderName(module, articlePath);
        return module.ArticleFolderName;
    }
    if (window.Option8) {
        return module.EntryTitle;
    }
    if (window.Option10) {
        return window.Text8;
    }
    if (window.Option11) {
        if (index >= window.List1.size()) {
            throw RunError(err::kSubscript, "List1 has fewer entries than List2");
        }
        const std::u16string& name = window.List1[index];
        if (name.size() < 4) {
            throw RunError(err::kInvalidCall, "file name shorter than 4 characters");
        }
        return name.substr(0, name.size() - 4);
    }
    return {};
}

namespace {
// LineBuffer = label + value, then written as one line.
void WriteLabelled(RecordWriter& w, int label, std::u16string_view value) {
    w.module.LineBuffer = w.module.RecordLabels.at(static_cast<std::size_t>(label));
    w.module.LineBuffer += value;
    w.out.WriteLine(w.module.LineBuffer);
}

void WriteBreakOrEmpty(RecordWriter& w, int label) {
    WriteLabelled(w, w.module.KaigyoMode == 1 ? label : 0, {});
}

// Label + the article's title, written in pieces: a long title is not held whole.
void WriteTitleLine(RecordWriter& w, int label, const ArticleFile& article) {
    w.out.Write(w.module.RecordLabels.at(static_cast<std::size_t>(label)));
    WriteTitle(w.module, article, w.out);
    w.out.EndLine();
}

// The category rule "タイトルを使う" decides (the rules are looked at in order).
bool TitleIsCategory(const WindowModel& window) { return !window.Option7 && window.Option8; }
}  // namespace

void WriteRecord(RecordWriter& w, ArticleFile& article, std::size_t index) {
    const std::u16string& path = w.module.CurrentPath;
    for (int step = 1; step <= 15; ++step) {
        switch (step) {
        case 2:
            ReadTitle(w.module, article, w.messages);
            WriteTitleLine(w, step, article);
            break;
        case 3:
            WriteLabelled(w, step, DateText(w.window));
            if (w.window.Option1) {
                AdvanceForNextRecord(w.module, w.window, w.clock);
            }
            break;
        case 4:
            WriteLabelled(w, step, StatusValue(w.window));
            break;
        case 8:
            if (TitleIsCategory(w.window)) {
                WriteTitleLine(w, step, article);
            } else {
                WriteLabelled(w, step, CategoryValue(w.module, w.window, index, path));
            }
            break;
        case 10:
            WriteLabelled(w, step, {});
            TranscribeBody(w.module, article, w.out);
            break;
        case 11:
        case 13:
            WriteBreakOrEmpty(w, step);
            break;
        default:  // 1, 5, 6, 7, 9, 12, 14, 15: the label alone
            WriteLabelled(w, step, {});
            break;
        }
    }
}

}  // namespace qb
