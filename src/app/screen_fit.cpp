#include "app/screen_fit.h"

#include <algorithm>

namespace qb::app {

ScreenFit FitOnScreen(QSize content, QRect available, QMargins frame, int scrollBar) {
    const QSize room = available.size().shrunkBy(frame);
    if (content.width() <= room.width() && content.height() <= room.height()) {
        const QSize outer = content.grownBy(frame);
        const QPoint gap((available.width() - outer.width()) / 2, (available.height() - outer.height()) / 2);
        return {available.topLeft() + gap, content, false};
    }
    // A scroll bar in one direction takes room from the other.
    bool across = content.width() > room.width();
    bool down = content.height() > room.height();
    down = down || (across && content.height() + scrollBar > room.height());
    across = across || (down && content.width() + scrollBar > room.width());
    const QSize size(std::max(1, std::min(room.width(), content.width() + (down ? scrollBar : 0))),
                     std::max(1, std::min(room.height(), content.height() + (across ? scrollBar : 0))));
    return {available.topLeft(), size, true};
}

}  // namespace qb::app
