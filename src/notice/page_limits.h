#pragma once
// Bounds on what the notice window builds. The text browser's work grows faster than the
// page: with the depth of nested elements, steeply with nested tables, and with style rules
// times elements. A page past these bounds counts as a failed fetch, so that building it
// never holds up start-up; a style sheet past them is left out.

#include <QString>
#include <QStringView>
#include <QVariant>

class QTextDocument;

namespace qb::notice {

inline constexpr int kMaxMarkup = 3000;           // '<' characters in the page
inline constexpr int kMaxStyleRules = 512;        // '{' and ',' of all style text together
inline constexpr int kMaxStyleChars = 32 * 1024;  // all style text together
inline constexpr int kMaxTableNesting = 4;
inline constexpr int kMaxCharacters = 128 * 1024;  // characters of the built page

// What style text costs: its rules (counted as '{' and ','), and its length.
struct StyleCost {
    int rules = 0;
    int chars = 0;

    StyleCost& operator+=(const StyleCost& other);
    [[nodiscard]] bool WithinLimits() const;
};

[[nodiscard]] StyleCost CostOfStyleSheet(QStringView css);

// The style elements of a page, together.
[[nodiscard]] StyleCost CostOfPageStyles(QStringView page);

// Before building: little enough markup and style.
[[nodiscard]] bool PageWithinLimits(QStringView page);

// After building, before laying out: tables nested shallowly enough, few enough characters.
[[nodiscard]] bool DocumentWithinLimits(const QTextDocument& document);

// Both tests; the trial build asks neither the network nor the disk for anything.
[[nodiscard]] bool PageCanBeBuilt(const QString& page);

// What stands in for a resource that is not (yet) there: one transparent pixel for a
// picture, an empty text otherwise. Never an empty value, on which the text classes would
// read a local file of that name.
[[nodiscard]] QVariant BlankResource(int type);

}  // namespace qb::notice
