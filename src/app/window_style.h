#pragma once
// How the main window's controls are drawn over the application's style: frames with their
// caption on the frame line, as Windows draws them; option-button indicators that fit the
// window's low option buttons; and a keyboard focus that is plain on every control (a
// dotted rectangle on buttons, option buttons and list entries, a 2-pixel frame around
// text boxes, combo boxes and lists).

#include <QProxyStyle>

namespace qb::app {

class WindowStyle final : public QProxyStyle {
public:
    // Draws over base, which it then owns.
    explicit WindowStyle(QStyle* base);

    [[nodiscard]] int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                                  const QWidget* widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget = nullptr) const override;
    [[nodiscard]] QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl subControl,
                                       const QWidget* widget = nullptr) const override;
};

}  // namespace qb::app
