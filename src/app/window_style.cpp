#include "app/window_style.h"

#include <QAbstractItemView>
#include <QBrush>
#include <QPainter>
#include <QStyleOption>
#include <QWidget>
#include <algorithm>

namespace qb::app {

namespace {

// Where a frame's caption starts, and the gap it leaves in the frame line on either side.
constexpr int kCaptionIndent = 8;
constexpr int kCaptionGap = 2;
constexpr int kFocusFrameWidth = 2;
constexpr int kButtonFocusInset = 4;

// A dotted rectangle one pixel wide, every other pixel set.
void DrawDottedRect(QPainter* painter, const QRect& rect, const QColor& colour) {
    if (rect.width() < 2 || rect.height() < 2) {
        return;
    }
    const QBrush dots(colour, Qt::Dense4Pattern);
    painter->save();
    painter->setBrushOrigin(rect.topLeft());
    painter->fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), dots);
    painter->fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), dots);
    painter->fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), dots);
    painter->fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), dots);
    painter->restore();
}

// The frame that marks a box with the focus, over its edge.
void DrawFocusFrame(QPainter* painter, const QStyleOption& option) {
    const QColor colour = option.palette.color(QPalette::Active, QPalette::Highlight).darker(115);
    painter->save();
    painter->setPen(Qt::NoPen);
    painter->setBrush(Qt::NoBrush);
    const QRect outer = option.rect;
    const QRect inner = outer.adjusted(kFocusFrameWidth, kFocusFrameWidth, -kFocusFrameWidth, -kFocusFrameWidth);
    painter->setClipRegion(QRegion(outer) - QRegion(inner));
    painter->fillRect(outer, colour);
    painter->restore();
}

// An etched frame, a shadow line with a light line beside it, as Windows draws a frame.
void DrawEtchedFrame(QPainter* painter, const QRect& rect, const QPalette& palette) {
    if (rect.width() < 2 || rect.height() < 2) {
        return;
    }
    painter->save();
    painter->setBrush(Qt::NoBrush);
    painter->setPen(palette.color(QPalette::Light));
    painter->drawRect(rect.adjusted(1, 1, -1, -1));
    painter->setPen(palette.color(QPalette::Mid));
    painter->drawRect(rect.adjusted(0, 0, -2, -2));
    painter->restore();
}

bool HasFocus(const QStyleOption* option) { return (option->state & QStyle::State_HasFocus) != 0; }

}  // namespace

WindowStyle::WindowStyle(QStyle* base) : QProxyStyle(base) {}

int WindowStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
    const int size = QProxyStyle::pixelMetric(metric, option, widget);
    switch (metric) {
    case PM_ExclusiveIndicatorWidth:
    case PM_ExclusiveIndicatorHeight:
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
        // The window's option buttons are as low as 12 pixels: the indicator fits, whole.
        if (widget != nullptr && widget->height() > 0) {
            return std::min(size, widget->height());
        }
        return size;
    case PM_DefaultFrameWidth:
        // Room for the whole focus frame around a list's entries.
        if (qobject_cast<const QAbstractItemView*>(widget) != nullptr) {
            return std::max(size, kFocusFrameWidth);
        }
        return size;
    default:
        return size;
    }
}

void WindowStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                const QWidget* widget) const {
    switch (element) {
    case PE_FrameFocusRect: {
        // Dotted, as Windows draws it, whether the focus came by keyboard or by mouse.
        QColor colour = option->palette.color(QPalette::WindowText);
        if (const auto* focus = qstyleoption_cast<const QStyleOptionFocusRect*>(option)) {
            if (focus->backgroundColor.isValid()) {
                colour = focus->backgroundColor.value() >= 128 ? QColor(Qt::black) : QColor(Qt::white);
            }
        }
        QRect rect = option->rect;
        if (widget != nullptr && qobject_cast<const QAbstractItemView*>(widget) == nullptr) {
            rect &= widget->rect();  // a caption taller than its button
        }
        DrawDottedRect(painter, rect, colour);
        return;
    }
    case PE_FrameLineEdit:
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        if (HasFocus(option)) {
            DrawFocusFrame(painter, *option);
        }
        return;
    default:
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
}

void WindowStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                              const QWidget* widget) const {
    QProxyStyle::drawControl(element, option, painter, widget);
    if (element == CE_ShapedFrame && HasFocus(option) && qobject_cast<const QAbstractItemView*>(widget) != nullptr) {
        DrawFocusFrame(painter, *option);
    }
    if (element == CE_PushButton && HasFocus(option)) {
        // Inside the button's edge, as Windows draws it.
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(*option);
        focus.rect =
            option->rect.adjusted(kButtonFocusInset, kButtonFocusInset, -kButtonFocusInset, -kButtonFocusInset);
        proxy()->drawPrimitive(PE_FrameFocusRect, &focus, painter, widget);
    }
}

void WindowStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                                     const QWidget* widget) const {
    if (control == CC_ComboBox) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        if (HasFocus(option)) {
            DrawFocusFrame(painter, *option);
        }
        return;
    }
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || box == nullptr || (box->subControls & SC_GroupBoxCheckBox) != 0) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    // The frame line runs through the middle of the caption, broken where the caption is.
    // The base style's own frame would sit below the caption, so the frame is drawn here.
    const QRect label = subControlRect(control, box, SC_GroupBoxLabel, widget);
    painter->save();
    if (!label.isEmpty()) {
        painter->setClipRegion(QRegion(box->rect) - QRegion(label));
    }
    DrawEtchedFrame(painter, subControlRect(control, box, SC_GroupBoxFrame, widget), box->palette);
    painter->restore();
    if (!box->text.isEmpty()) {
        proxy()->drawItemText(painter, label, Qt::AlignCenter | Qt::TextShowMnemonic, box->palette,
                              (box->state & State_Enabled) != 0, box->text, QPalette::WindowText);
    }
}

QRect WindowStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl subControl,
                                  const QWidget* widget) const {
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || box == nullptr || (box->subControls & SC_GroupBoxCheckBox) != 0) {
        return QProxyStyle::subControlRect(control, option, subControl, widget);
    }
    const int captionHeight = box->fontMetrics.height();
    switch (subControl) {
    case SC_GroupBoxLabel: {
        if (box->text.isEmpty()) {
            return {};
        }
        const int width = box->fontMetrics.horizontalAdvance(box->text) + 2 * kCaptionGap;
        const int left = kCaptionIndent - kCaptionGap;
        return visualRect(
            box->direction, box->rect,
            QRect(box->rect.left() + left, box->rect.top(), std::min(width, box->rect.width() - left), captionHeight));
    }
    case SC_GroupBoxFrame:
        return box->rect.adjusted(0, captionHeight / 2, 0, 0);
    case SC_GroupBoxContents:
        return box->rect.adjusted(box->lineWidth, captionHeight, -box->lineWidth, -box->lineWidth);
    default:
        return QProxyStyle::subControlRect(control, option, subControl, widget);
    }
}

}  // namespace qb::app
