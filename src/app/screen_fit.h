#pragma once
// Where a window whose content has a fixed size goes on a screen: whole and centred where
// it fits, otherwise at the top-left with the content scrolling in what room there is.

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace qb::app {

struct ScreenFit {
    QPoint position;       // of the window's frame
    QSize size;            // of the window's inside
    bool scrolls = false;  // the inside is smaller than the content
};

// content: the inside the window wants; available: the screen's room for windows;
// frame: the window system's frame around the inside; scrollBar: a scroll bar's width.
[[nodiscard]] ScreenFit FitOnScreen(QSize content, QRect available, QMargins frame, int scrollBar);

}  // namespace qb::app
