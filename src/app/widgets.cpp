#include "app/widgets.h"

#include <QKeyEvent>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>
#include <algorithm>
#include <memory>
#include <vector>

namespace qb::app {

void NoteLabel::paintEvent(QPaintEvent* /*event*/) {
    QString shown = text();
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (shown.endsWith(QLatin1Char('\n'))) {
        shown.chop(1);  // a final line break starts no line of its own
    }
    const QStringList lines = shown.split(QLatin1Char('\n'));

    QTextOption option(Qt::AlignLeft);  // alignment is applied when drawing
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(8.0 * fontMetrics().averageCharWidth());
    std::vector<std::unique_ptr<QTextLayout>> layouts;
    qreal widest = 0;
    for (const QString& line : lines) {
        auto layout = std::make_unique<QTextLayout>(line, font());
        layout->setTextOption(option);
        layout->beginLayout();
        QTextLine textLine = layout->createLine();
        if (textLine.isValid()) {
            textLine.setLineWidth(1.0e6);
            widest = std::max(widest, textLine.naturalTextWidth());
        }
        layout->endLayout();
        layouts.push_back(std::move(layout));
    }

    const QRectF area(contentsRect());
    const QFontInfo info(font());
    const qreal fontHeight = std::max<qreal>(info.pixelSize(), 1.0);
    qreal step = std::min<qreal>(QFontMetricsF(font()).lineSpacing(), fontHeight);
    if (lines.size() > 1) {
        step = std::min(step, area.height() / static_cast<qreal>(lines.size()));
    }
    const qreal squeeze = (widest > area.width() && widest > 0) ? area.width() / widest : 1.0;

    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.translate(area.topLeft());
    painter.scale(squeeze, 1.0);
    const qreal drawnWidth = area.width() / squeeze;
    for (std::size_t i = 0; i < layouts.size(); ++i) {
        QTextLayout& layout = *layouts[i];
        if (layout.lineCount() == 0) {
            continue;
        }
        const QTextLine textLine = layout.lineAt(0);
        qreal x = 0;
        if ((alignment() & Qt::AlignRight) != 0) {
            x = drawnWidth - textLine.naturalTextWidth();
        } else if ((alignment() & Qt::AlignHCenter) != 0) {
            x = (drawnWidth - textLine.naturalTextWidth()) / 2;
        }
        // A line taller than its room keeps its middle in the room.
        const qreal room = lines.size() > 1 ? step : area.height();
        const qreal top = static_cast<qreal>(i) * step + std::min<qreal>(0.0, (room - textLine.height()) / 2);
        layout.draw(&painter, QPointF(x, top));
    }
}

void CommandButton::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // A held key presses once.
        if (!event->isAutoRepeat()) {
            click();
        }
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

}  // namespace qb::app
