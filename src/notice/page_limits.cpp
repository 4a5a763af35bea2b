#include "notice/page_limits.h"

#include <QImage>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <algorithm>

namespace qb::notice {

namespace {

int TableNesting(const QTextFrame& frame) {
    int deepest = 0;
    for (const QTextFrame* child : frame.childFrames())
        deepest = std::max(deepest, TableNesting(*child));
    return deepest + (qobject_cast<const QTextTable*>(&frame) ? 1 : 0);
}

// A document that is only built, to be measured.
class TrialDocument : public QTextDocument {
public:
    QVariant loadResource(int type, const QUrl& /*name*/) override { return BlankResource(type); }
};

}  // namespace

StyleCost& StyleCost::operator+=(const StyleCost& other) {
    rules += other.rules;
    chars += other.chars;
    return *this;
}

bool StyleCost::WithinLimits() const { return rules <= kMaxStyleRules && chars <= kMaxStyleChars; }

StyleCost CostOfStyleSheet(QStringView css) {
    const auto rules = css.count(u'{') + css.count(u',');
    return StyleCost{static_cast<int>(std::min<qsizetype>(rules, kMaxStyleRules + 1)),
                     static_cast<int>(std::min<qsizetype>(css.size(), kMaxStyleChars + 1))};
}

StyleCost CostOfPageStyles(QStringView page) {
    StyleCost cost;
    qsizetype from = 0;
    while (cost.WithinLimits()) {
        const qsizetype start = page.indexOf(u"<style", from, Qt::CaseInsensitive);
        if (start < 0)
            break;
        const qsizetype end = page.indexOf(u"</style", start, Qt::CaseInsensitive);
        cost += CostOfStyleSheet(page.mid(start, end < 0 ? -1 : end - start));
        if (end < 0)
            break;
        from = end;
    }
    return cost;
}

bool PageWithinLimits(QStringView page) {
    // Every element begins with '<', so this bounds the elements and their depth.
    return page.count(u'<') <= kMaxMarkup && CostOfPageStyles(page).WithinLimits();
}

bool DocumentWithinLimits(const QTextDocument& document) {
    return document.characterCount() <= kMaxCharacters && TableNesting(*document.rootFrame()) <= kMaxTableNesting;
}

bool PageCanBeBuilt(const QString& page) {
    if (!PageWithinLimits(page))
        return false;
    TrialDocument trial;
    trial.setHtml(page);
    return DocumentWithinLimits(trial);
}

QVariant BlankResource(int type) {
    if (type != QTextDocument::ImageResource)
        return QString(QLatin1String(""));
    static const QImage blank = [] {
        QImage image(1, 1, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        return image;
    }();
    return blank;
}

}  // namespace qb::notice
