#pragma once
// The notice window "お知らせ": shows the notice page, slides up from below the bottom
// edge of the screen, stays on top, and enables the main window when it is closed.

#include "notice/notice_slide.h"
#include "notice/page_limits.h"

#include <QByteArray>
#include <QHash>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QTextBrowser>
#include <QUrl>
#include <QVariant>
#include <QWidget>

class QNetworkAccessManager;
class QTimer;

namespace qb::notice {

// Shows one page. Its images and style sheets come through the given network access,
// without blocking; links open in the system's browser, never in here. No scripting.
class NoticeBrowser : public QTextBrowser {
    Q_OBJECT
public:
    NoticeBrowser(QNetworkAccessManager& net, QWidget* parent);

    // Navigates to url, whose text has already been fetched.
    void ShowPage(const QUrl& url, const QString& html);

    QVariant loadResource(int type, const QUrl& name) override;

    // Resources asked for and not yet answered.
    [[nodiscard]] int PendingFetches() const { return pending_; }

private:
    void Fetch(int type, const QUrl& url);
    void Reread();
    void OpenLink(const QUrl& link);

    QNetworkAccessManager& net_;
    QUrl pageUrl_;
    QString pageHtml_;
    QSet<QUrl> requested_;
    QHash<QUrl, QVariant> loaded_;
    int pending_ = 0;
    StyleCost styleCost_;  // of the linked style sheets taken in
};

class FrmInfo : public QWidget {
    Q_OBJECT
public:
    static constexpr int kInsideWidthTwips = 5385;
    static constexpr int kInsideHeightTwips = 3495;
    static constexpr int kBrowserWidthTwips = 5500;
    static constexpr int kBrowserHeightTwips = 4000;
    static constexpr float kRightMarginTwips = 5700.0f;  // left edge: screen width minus this
    static constexpr int kTickMs = 3;

    // Loads the window (its timer runs from here on). Takes ownership of net.
    FrmInfo(QWidget& mainWindow, QNetworkAccessManager* net);

    // The showing sequence in two steps: navigate and place just below the screen; then,
    // once the main window is shown, show the notice over it with the keyboard focus.
    void PrepareNotice(const QUrl& url, const QString& html);
    void ShowNotice();

    [[nodiscard]] const NoticeSlide& Slide() const { return slide_; }
    [[nodiscard]] bool TimerRunning() const;
    [[nodiscard]] NoticeBrowser* WebBrowser1() const { return webBrowser1_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Tick();
    void MoveToSlide();

    QPointer<QWidget> mainWindow_;
    NoticeBrowser* webBrowser1_ = nullptr;
    QTimer* timer1_ = nullptr;
    NoticeSlide slide_;
    float left_ = 0.0f;
};

// The start-up probe with its outcome: the notice window, built and placed but not shown
// yet, or nullptr when there is none (the main window is enabled then).
FrmInfo* ProbeNotice(QWidget& mainWindow, const QUrl& url, int timeoutMs);

// The probe, then the notice shown at once.
FrmInfo* ProbeAndShowNotice(QWidget& mainWindow, const QUrl& url, int timeoutMs);

}  // namespace qb::notice
