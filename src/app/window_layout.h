#pragma once
// The main window's controls as one table: each control's name, the control it lies on,
// its kind, caption, place and size in twips, font and colours, in the order they are
// made (a later control is drawn over an earlier one). BuildLayout makes them.

#include <QFont>
#include <QHash>
#include <QRect>
#include <QString>
#include <span>

class QWidget;

namespace qb::app {

// ComboBox takes typing as well as its entries; DropDown offers its entries only.
enum class ControlKind {
    Frame,
    Label,
    Option,
    Check,
    Command,
    TextBox,
    ComboBox,
    DropDown,
    List,
    Drives,
    Folders,
    Files
};

struct TwipRect {
    int left;
    int top;
    int width;
    int height;
};

// A font of the window's family. No points: the window's own font.
struct RowFont {
    qreal points = 0;
    bool bold = false;
};

// Colours as "#RRGGBB"; none where the style's own holds. A label with a back colour and a
// button with a face are drawn through a style sheet, a text colour alone through the palette.
struct Colours {
    const char* text = nullptr;
    const char* back = nullptr;     // a label's background, a button's face
    const char* pressed = nullptr;  // a button's face while pressed
};

struct ControlRow {
    const char* name;
    const char* parent;  // none: the window's inside
    ControlKind kind;
    const char* caption;  // UTF-8; a label's, a button's or a frame's
    TwipRect twips;       // within the parent
    RowFont font{};
    Colours colours{};
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop;  // a label's caption
    const char* tip = nullptr;                           // UTF-8 tooltip
};

// The window's inside, which holds every control and scrolls on small screens.
inline constexpr TwipRect kInsideTwips{0, 0, 14235, 9135};
inline constexpr qreal kWindowPoints = 9;

[[nodiscard]] std::span<const ControlRow> WindowLayout();
// The controls that take the focus, in the order of the Tab key: the left half from top to
// bottom, then the right half from top to bottom.
[[nodiscard]] std::span<const char* const> KeyboardOrder();

[[nodiscard]] QRect ToPixels(const TwipRect& twips);
// A font of the window's family.
[[nodiscard]] QFont UiFont(qreal points, bool bold = false);

// The controls made from the table, by name.
class Controls {
public:
    void Add(const QString& name, QWidget* control) { byName_.insert(name, control); }
    [[nodiscard]] QWidget* Find(const char* name) const { return byName_.value(QString::fromLatin1(name)); }
    // The control of that name and kind; the table guarantees both.
    template <class Control>
    [[nodiscard]] Control* Get(const char* name) const {
        auto* control = dynamic_cast<Control*>(Find(name));
        Q_ASSERT_X(control != nullptr, "Controls::Get", name);
        return control;
    }

private:
    QHash<QString, QWidget*> byName_;
};

// Makes every control of the table on inside, in the table's order, and sets the keyboard
// order. A row without a font of its own takes windowFont.
[[nodiscard]] Controls BuildLayout(QWidget& inside, const QFont& windowFont);

}  // namespace qb::app
