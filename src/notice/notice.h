#pragma once
// The start-up notice: one fetch of the notice page, and the sliding notice window
// when the page has a title that is not "404 error".

#include <QUrl>

class QWidget;

namespace qb::notice {

// The notice page address chosen when the program was built.
[[nodiscard]] QUrl DefaultNoticeUrl();

// Runs the probe synchronously (never longer than timeoutMs). Either enables mainWindow
// at once, or shows the notice window, which enables mainWindow when it is closed.
void RunStartupNotice(QWidget& mainWindow, const QUrl& url, int timeoutMs = 5000);

}  // namespace qb::notice
