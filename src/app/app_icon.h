#pragma once
// The program's icon, drawn at 16, 32 and 48 pixels.

#include <QIcon>
#include <QPixmap>

namespace qb::app {

[[nodiscard]] QPixmap DrawAppIcon(int size);
[[nodiscard]] QIcon AppIcon();

}  // namespace qb::app
