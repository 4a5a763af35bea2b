#include "notice/frm_info.h"

#include "notice/notice_probe.h"
#include "notice/page_limits.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPixmap>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QTextDocument>
#include <QTimer>

namespace qb::notice {

namespace {

QRect ScreenArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

float ScreenHeightTwips() { return static_cast<float>(ScreenArea().height()) * kTwipsPerPixel; }

// Same scheme, host and port (the scheme's default port when none is given).
bool SameOrigin(const QUrl& a, const QUrl& b) {
    const auto port = [](const QUrl& u) { return u.port(u.scheme() == QLatin1String("https") ? 443 : 80); };
    return a.scheme() == b.scheme() && !a.host().isEmpty() && a.host().compare(b.host(), Qt::CaseInsensitive) == 0 &&
           port(a) == port(b) && (a.scheme() == QLatin1String("http") || a.scheme() == QLatin1String("https"));
}

}  // namespace

NoticeBrowser::NoticeBrowser(QNetworkAccessManager& net, QWidget* parent) : QTextBrowser(parent), net_(net) {
    setOpenLinks(false);
    setOpenExternalLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &NoticeBrowser::OpenLink);
}

void NoticeBrowser::ShowPage(const QUrl& url, const QString& html) {
    pageUrl_ = url;
    pageHtml_ = html;
    setSource(url, QTextDocument::HtmlResource);
}

QVariant NoticeBrowser::loadResource(int type, const QUrl& name) {
    const QUrl url = name.isRelative() ? pageUrl_.resolved(name) : name;
    if (type == QTextDocument::HtmlResource)
        return url == pageUrl_ ? pageHtml_ : QString(QLatin1String(""));
    // Never an empty answer: on one the text engine reads a local file of that name itself.
    // Only the page's own server is asked; other hosts would learn that the program started.
    const bool wanted = type == QTextDocument::ImageResource || type == QTextDocument::StyleSheetResource;
    if (!wanted || !SameOrigin(url, pageUrl_))
        return BlankResource(type);
    // Kept here rather than in the document, which forgets its resources when the page is
    // set again.
    if (const auto found = loaded_.constFind(url); found != loaded_.cend())
        return *found;
    if (!requested_.contains(url)) {
        requested_.insert(url);
        Fetch(type, url);
    }
    return BlankResource(type);
}

void NoticeBrowser::Fetch(int type, const QUrl& url) {
    // Filled in when it arrives; the page is laid out again then.
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::SameOriginRedirectPolicy);
    QNetworkReply* reply = net_.get(request);
    CapBody(*reply);
    ++pending_;
    connect(reply, &QNetworkReply::finished, this, [this, reply, type, url] {
        reply->deleteLater();
        --pending_;
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (reply->error() != QNetworkReply::NoError || status >= 400)
            return;
        QVariant value = reply->readAll();
        if (type == QTextDocument::StyleSheetResource) {
            // A sheet past the limits would hold up every later build of the page.
            StyleCost sheets = styleCost_;
            sheets += CostOfStyleSheet(QString::fromUtf8(value.toByteArray()));
            StyleCost cost = CostOfPageStyles(pageHtml_);
            cost += sheets;
            if (cost.WithinLimits())
                styleCost_ = sheets;
            else
                value = BlankResource(type);
        } else {
            // Bytes that are no picture (a page, say) stay the blank placeholder.
            QImage image;
            value = image.loadFromData(value.toByteArray()) ? QVariant(image) : BlankResource(type);
        }
        loaded_.insert(url, value);
        Reread();
    });
}

void NoticeBrowser::Reread() {
    // Style sheets and backgrounds are taken in only while the page is read.
    const int scroll = verticalScrollBar()->value();
    setHtml(pageHtml_);
    // Reading the page dropped the document's pictures; the cached placeholders must not
    // stand in for those that have arrived.
    for (auto it = loaded_.cbegin(); it != loaded_.cend(); ++it) {
        if (it->userType() == QMetaType::QImage)
            document()->addResource(QTextDocument::ImageResource, it.key(), *it);
    }
    document()->markContentsDirty(0, document()->characterCount());
    verticalScrollBar()->setValue(scroll);
}

void NoticeBrowser::OpenLink(const QUrl& link) {
    const QUrl url = link.isRelative() ? pageUrl_.resolved(link) : link;
    const QString scheme = url.scheme();
    // A page from the network opens web and mail links only, not local files or programs.
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("mailto"))
        QDesktopServices::openUrl(url);
}

FrmInfo::FrmInfo(QWidget& mainWindow, QNetworkAccessManager* net)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                           Qt::WindowStaysOnTopHint),
      mainWindow_(&mainWindow) {
    setObjectName(QStringLiteral("frmInfo"));
    setWindowTitle(QStringLiteral("お知らせ"));
    // The notice window has no icon of its own: a blank one keeps the application's
    // icon from standing in for it.
    QPixmap blank(16, 16);
    blank.fill(Qt::transparent);
    setWindowIcon(QIcon(blank));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_QuitOnClose, false);  // closing the notice never ends the program
    setFixedSize(TwipsToPixels(kInsideWidthTwips), TwipsToPixels(kInsideHeightTwips));

    webBrowser1_ = new NoticeBrowser(*net, this);
    webBrowser1_->setObjectName(QStringLiteral("WebBrowser1"));
    webBrowser1_->setGeometry(0, 0, TwipsToPixels(kBrowserWidthTwips), TwipsToPixels(kBrowserHeightTwips));
    // Children are destroyed in the order they were added: the browser, which holds a
    // reference to the network access and handles its replies, goes before it.
    net->setParent(this);

    // Runs from the moment the window is loaded; its ticks come once start-up is over.
    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setTimerType(Qt::PreciseTimer);
    timer1_->setInterval(kTickMs);
    connect(timer1_, &QTimer::timeout, this, &FrmInfo::Tick);
    timer1_->start();

    // Esc closes the notice, as it closes a dialog.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void FrmInfo::PrepareNotice(const QUrl& url, const QString& html) {
    webBrowser1_->ShowPage(url, html);
    const QRect area = ScreenArea();
    slide_.SetTop(static_cast<float>(area.height()) * kTwipsPerPixel);
    left_ = static_cast<float>(area.width()) * kTwipsPerPixel - kRightMarginTwips;
    MoveToSlide();
}

void FrmInfo::ShowNotice() {
    show();
    // Raised and activated by hand too: where the stay-on-top hint does nothing, and so
    // that the keyboard comes here rather than to the disabled main window.
    raise();
    activateWindow();
}

bool FrmInfo::TimerRunning() const { return timer1_->isActive(); }

void FrmInfo::MoveToSlide() {
    const QRect area = ScreenArea();
    move(area.x() + TwipsToPixels(left_), area.y() + TwipsToPixels(slide_.Top()));
}

void FrmInfo::Tick() {
    const bool goesOn = slide_.Tick(ScreenHeightTwips());
    MoveToSlide();
    repaint();
    if (!goesOn)
        timer1_->stop();
}

void FrmInfo::closeEvent(QCloseEvent* event) {
    timer1_->stop();
    if (mainWindow_)
        mainWindow_->setEnabled(true);
    event->accept();
}

}  // namespace qb::notice
