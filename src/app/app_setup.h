#pragma once
// Application-wide look: the Fusion style, the program's icon, and the fonts that
// stand in for "ＭＳ Ｐゴシック" on machines without it.

#include <QString>

class QApplication;

namespace qb::app {

// The family every control of the window asks for; PrepareApplication names its stand-ins.
[[nodiscard]] QString UiFontFamily();

void PrepareApplication(QApplication& application);

}  // namespace qb::app
