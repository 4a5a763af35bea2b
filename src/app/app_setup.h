#pragma once
// Application-wide look: the Fusion style, the program's icon, and the fonts that
// stand in for "ＭＳ Ｐゴシック" on machines without it.

class QApplication;

namespace qb::app {

void PrepareApplication(QApplication& application);

}  // namespace qb::app
