#pragma once
// The main window's own kinds of control: labels that keep the tab-aligned layout of its
// notes, option buttons and a check box that take a click anywhere in their area, and
// buttons that Enter presses.

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

class QKeyEvent;
class QPaintEvent;

namespace qb::app {

// A label for the window's notes, whose lines are lined up with tabs: tabs every eight
// average character widths, no wrapping, a line step of the font's size, and a caption
// that is wider or taller than its label is drawn narrowed or closer rather than cut off
// (the fonts that stand in for "ＭＳ Ｐゴシック" run a little wider).
class NoteLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// An option button that takes a click anywhere in its area, not only on its caption.
class OptionButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    [[nodiscard]] bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

// A check box that takes a click anywhere in its area, as an option button does.
class CheckButton : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    [[nodiscard]] bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

// A button that Enter (and the keypad's Enter) presses as well as Space, as on Windows.
class CommandButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace qb::app
