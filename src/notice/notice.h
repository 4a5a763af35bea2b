#pragma once
// The start-up notice: one fetch of the notice page, and the sliding notice window
// when the page has a title that is not "404 error".

#include <QUrl>

class QWidget;

namespace qb::notice {

// The notice page address chosen when the program was built.
[[nodiscard]] QUrl DefaultNoticeUrl();

// Runs the probe synchronously: the fetch, the title test and the building of the notice
// window together stay within timeoutMs. Either enables mainWindow at once and gives
// nullptr, or gives the notice window, built but not shown; it enables mainWindow when it
// is closed.
[[nodiscard]] QWidget* RunStartupNotice(QWidget& mainWindow, const QUrl& url, int timeoutMs = 5000);

// Shows the notice window over the main window, which must be shown already, with the
// keyboard focus. Nothing for nullptr.
void ShowStartupNotice(QWidget* notice);

}  // namespace qb::notice
