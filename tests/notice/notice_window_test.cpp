// The probe and the notice window against a real HTTP server on 127.0.0.1.
#include "local_http_server.h"
#include "notice/frm_info.h"
#include "notice/notice.h"
#include "notice/notice_probe.h"

#include <QApplication>
#include <QBuffer>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

#include <gtest/gtest.h>

#include <algorithm>

#include "support/test_support.h"

namespace qb::notice {
namespace {

using test::LocalHttpServer;
using test::Response;

constexpr int kQuickTimeoutMs = 400;

Response Html(const QByteArray& body, const QByteArray& contentType = "text/html; charset=UTF-8") {
    return Response{200, "OK", contentType, body, false, {}};
}

// Processes events until pred holds or a few seconds have passed.
template <typename Pred>
bool WaitFor(Pred pred) {
    return QTest::qWaitFor(pred, 10000);
}

class NoticeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.Listening());
        mainWindow.resize(949, 609);
        mainWindow.setEnabled(false);  // the main window starts disabled
    }

    void TearDown() override {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() == QLatin1String("frmInfo"))
                w->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    FrmInfo* Probe(const QByteArray& path, int timeoutMs = 5000) {
        return ProbeAndShowNotice(mainWindow, server.Url(QString::fromLatin1(path)), timeoutMs);
    }

    LocalHttpServer server;
    QWidget mainWindow;
};

// Read through GetParam(), which cppcheck does not follow.
struct ProbeCase {
    const char* name;
    // cppcheck-suppress unusedStructMember
    Response response;
    // cppcheck-suppress unusedStructMember
    bool shown;
};

void PrintTo(const ProbeCase& c, std::ostream* os) { *os << c.name; }

class ProbeOutcomeTest : public NoticeTest, public ::testing::WithParamInterface<ProbeCase> {};

TEST_P(ProbeOutcomeTest, ShowsTheWindowOnlyForATitledPage) {
    server.Route("/info/notice.html", GetParam().response);
    QPointer<FrmInfo> frmInfo = Probe("/info/notice.html");
    EXPECT_EQ(server.RequestedPaths(), QList<QByteArray>{"/info/notice.html"});
    if (GetParam().shown) {
        ASSERT_NE(frmInfo, nullptr);
        EXPECT_TRUE(frmInfo->isVisible());
        EXPECT_FALSE(mainWindow.isEnabled());
        frmInfo->close();
        EXPECT_TRUE(mainWindow.isEnabled());
    } else {
        EXPECT_EQ(frmInfo, nullptr);
        EXPECT_TRUE(mainWindow.isEnabled());
        for (QWidget* w : QApplication::topLevelWidgets())
            EXPECT_NE(w->objectName(), QLatin1String("frmInfo"));
    }
}

const QByteArray kFar = QByteArray(40000, 'x');

INSTANTIATE_TEST_SUITE_P(
    Pages, ProbeOutcomeTest,
    ::testing::Values(
        ProbeCase{"normal", Html("<html><head><title>お知らせ</title></head><body>x</body></html>"), true},
        ProbeCase{"title_404_error", Html("<html><head><title>404 error - not found</title>"), false},
        ProbeCase{"title_404_Error", Html("<html><head><title>404 Error</title>"), true},
        ProbeCase{"capital_tag", Html("<HTML><HEAD><TITLE>Notice</TITLE></HEAD></HTML>"), false},
        ProbeCase{"short_title", Html("<html><head><title>Hi</title></head></html>"), true},
        ProbeCase{"no_title", Html("<html><body>no title here</body></html>"), false},
        ProbeCase{"empty_page", Html(""), false},
        ProbeCase{"title_past_32760", Html("<html><body><!--" + kFar + "--><title>News</title>"), true},
        ProbeCase{"http_404_with_titled_page",
                  Response{404, "Not Found", "text/html", "<title>Not Found</title>", false, {}}, false},
        ProbeCase{"http_500_with_titled_page",
                  Response{500, "Internal Server Error", "text/html", "<title>Oops</title>", false, {}}, false},
        ProbeCase{"closes_mid_page",
                  [] {
                      Response cut = Html("<html><head><title>News</title>");
                      cut.missingBytes = 4096;
                      return cut;
                  }(),
                  false},
        ProbeCase{"shift_jis_page",
                  Html("<html><head><title>\x82\xa8\x92\x6d\x82\xe7\x82\xb9</title></head></html>",
                       "text/html; charset=Shift_JIS"),
                  true}),
    [](const ::testing::TestParamInfo<ProbeCase>& info) { return std::string(info.param.name); });

// Pages that cannot be fetched at all: a closed port, a failed TLS handshake, an address
// that is none. Start-up goes on without the window.
TEST_F(NoticeTest, UnreachablePagesCountAsNoTitle) {
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const quint16 closedPort = closed.serverPort();
    closed.close();
    // Plain HTTP where TLS is expected: the handshake fails on the first bytes.
    QTcpServer plain;
    ASSERT_TRUE(plain.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&plain, &QTcpServer::newConnection, &plain, [&plain] {
        QTcpSocket* socket = plain.nextPendingConnection();
        socket->write("HTTP/1.1 200 OK\r\nContent-Length: 20\r\n\r\n<title>News</title>\n");
        socket->disconnectFromHost();
    });
    const QUrl urls[] = {
        QUrl(QStringLiteral("http://127.0.0.1:%1/info/notice.html").arg(closedPort)),
        QUrl(QStringLiteral("https://127.0.0.1:%1/info/notice.html").arg(plain.serverPort())),
        QUrl(QStringLiteral("not a url at all")),
    };
    for (const QUrl& url : urls) {
        mainWindow.setEnabled(false);
        EXPECT_EQ(RunStartupNotice(mainWindow, url, 5000), nullptr) << url.toString().toStdString();
        EXPECT_TRUE(mainWindow.isEnabled());
    }
}

TEST_F(NoticeTest, SilentServerTimesOutAndStartUpGoesOn) {
    server.Route("/info/notice.html", Response{200, "OK", "text/html", "", true, {}});
    // The server holds the connection open for ever: only the time-out ends the fetch.
    EXPECT_EQ(RunStartupNotice(mainWindow, server.Url(QStringLiteral("/info/notice.html")), kQuickTimeoutMs), nullptr);
    EXPECT_TRUE(mainWindow.isEnabled());
    EXPECT_EQ(server.RequestedPaths().size(), 1);
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_NE(w->objectName(), QLatin1String("frmInfo"));
}

// Peak resident memory of this process since the last reset, in bytes; -1 where unknown.
qint64 PeakMemory() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> lines = status.readAll().split('\n');
    const auto hwm =
        std::find_if(lines.cbegin(), lines.cend(), [](const QByteArray& line) { return line.startsWith("VmHWM:"); });
    return hwm == lines.cend() ? -1 : hwm->mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
}

bool ResetPeakMemory() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

// Read through GetParam(), which cppcheck does not follow.
struct HugeCase {
    const char* name;
    // cppcheck-suppress unusedStructMember
    QByteArray body;
    // cppcheck-suppress unusedStructMember
    qint64 fillBytes;
};

void PrintTo(const HugeCase& c, std::ostream* os) { *os << c.name; }

class HugePageTest : public NoticeTest, public ::testing::WithParamInterface<HugeCase> {};

// A page past the size cap counts as a failed fetch, and is never held whole in memory.
TEST_P(HugePageTest, CountsAsFailedWithinBoundedMemory) {
    Response page = Html(GetParam().body);
    page.fillBytes = GetParam().fillBytes;
    server.Route("/info/notice.html", page);
    const bool measured = ResetPeakMemory();
    const qint64 before = PeakMemory();
    // Ended by the cap, not by the time-out, which is far off here: the cap takes a fraction
    // of a second even on a loaded machine.
    constexpr int kFarTimeoutMs = 120000;
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(RunStartupNotice(mainWindow, server.Url(QStringLiteral("/info/notice.html")), kFarTimeoutMs), nullptr);
    EXPECT_LT(clock.elapsed(), kFarTimeoutMs / 2);
    EXPECT_TRUE(mainWindow.isEnabled());
    EXPECT_LT(server.FillBytesSent(), 48 * 1024 * 1024);
    if (measured && before > 0) {
        const qint64 growth = PeakMemory() - before;
        RecordProperty("peak_growth_bytes", std::to_string(growth));
        EXPECT_LT(growth, 64 * 1024 * 1024);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Pages, HugePageTest,
    ::testing::Values(HugeCase{"titled_50_MB_with_length", "<html><head><title>News</title></head><body>",
                               qint64{50} * 1024 * 1024},
                      HugeCase{"titled_endless", "<html><head><title>News</title></head><body>", -1},
                      HugeCase{"just_past_the_cap", "<title>News</title>", kMaxBodyBytes}),
    [](const ::testing::TestParamInfo<HugeCase>& info) { return std::string(info.param.name); });

// Pages that the window could take a long time to build count as failed fetches.
TEST_F(NoticeTest, PagesTooCostlyToBuildCountAsFailed) {
    QByteArray nested;
    for (int i = 0; i < 12; ++i)
        nested = "<table><tr><td>" + nested + "x</td></tr></table>";
    QByteArray rules;
    for (int i = 0; i < 2000; ++i)
        rules += "p.c" + QByteArray::number(i) + " * b { color: red; }\n";
    const QList<QByteArray> pages{
        "<title>News</title>" + nested,
        "<title>News</title>" + QByteArray(4000, '<'),
        "<title>News</title><style>" + rules + "</style><p>x</p>",
    };
    for (const QByteArray& body : pages) {
        server.Route("/info/notice.html", Html(body));
        mainWindow.setEnabled(false);
        EXPECT_EQ(Probe("/info/notice.html"), nullptr) << body.left(60).constData();
        EXPECT_TRUE(mainWindow.isEnabled());
    }
}

// Bytes that are no HTTP response: Qt asks again a few times, then the start-up goes on.
TEST_F(NoticeTest, GarbageInsteadOfHttpCountsAsNoTitle) {
    Response garbage;
    garbage.raw = QByteArray("\x00\xff\x1b$B garbage\r\n\r\n<title>News</title>", 36);
    server.Route("/info/notice.html", garbage);
    EXPECT_EQ(Probe("/info/notice.html"), nullptr);
    EXPECT_TRUE(mainWindow.isEnabled());
    EXPECT_LE(server.RequestedPaths().size(), 4);
}

TEST_F(NoticeTest, FollowsARedirect) {
    server.Route("/info/notice.html", Html("<title>Moved here</title><p>moved</p>"));
    Response redirect{301, "Moved Permanently", "text/html", "", false, {}};
    redirect.extraHeaders = "Location: " + server.Url(QStringLiteral("/info/notice.html")).toEncoded() + "\r\n";
    server.Route("/old/notice.html", redirect);
    QPointer<FrmInfo> frmInfo = Probe("/old/notice.html");
    ASSERT_NE(frmInfo, nullptr);
    EXPECT_EQ(frmInfo->WebBrowser1()->toPlainText(), QStringLiteral("moved"));
    EXPECT_EQ(frmInfo->WebBrowser1()->source(), server.Url(QStringLiteral("/info/notice.html")));
}

TEST_F(NoticeTest, WindowShowsTheDecodedPage) {
    const QByteArray sjis = QByteArray::fromHex("82a8926d82e782b920905682b582a294c5");
    const QByteArray euc = QByteArray::fromHex("a4aac3cea4e9a4bb20bfb7a4b7a4a4c8c7");
    server.Route("/sjis.html",
                 Html("<html><head><title>" + sjis + "</title></head><body><p>" + sjis + "</p></body></html>",
                      "text/html; charset=Shift_JIS"));
    server.Route("/euc.html", Html("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                                   "charset=EUC-JP\"><title>" +
                                       euc + "</title></head><body><p>" + euc + "</p></body></html>",
                                   "text/html"));
    // No label anywhere: the bytes tell.
    server.Route(
        "/euc-unlabelled.html",
        Html("<html><head><title>" + euc + "</title></head><body><p>" + euc + "</p></body></html>", "text/html"));
    for (const char* path : {"/sjis.html", "/euc.html", "/euc-unlabelled.html"}) {
        mainWindow.setEnabled(false);
        QPointer<FrmInfo> frmInfo = Probe(path);
        ASSERT_NE(frmInfo, nullptr) << path;
        EXPECT_EQ(frmInfo->WebBrowser1()->toPlainText(), QStringLiteral("お知らせ 新しい版")) << path;
        EXPECT_EQ(frmInfo->WebBrowser1()->source(), server.Url(QString::fromLatin1(path)));
        frmInfo->close();
    }
}

TEST_F(NoticeTest, WindowLayoutAndStartPosition) {
    server.Route("/info/notice.html", Html("<title>News</title><p>Hello</p>"));
    // The program has an icon of its own; the notice window must not take it.
    QPixmap appIcon(16, 16);
    appIcon.fill(Qt::red);
    QApplication::setWindowIcon(QIcon(appIcon));
    QPointer<FrmInfo> frmInfo = Probe("/info/notice.html");
    QApplication::setWindowIcon(QIcon());
    ASSERT_NE(frmInfo, nullptr);
    EXPECT_EQ(frmInfo->objectName(), QStringLiteral("frmInfo"));
    EXPECT_EQ(frmInfo->windowTitle(), QStringLiteral("お知らせ"));
    // No icon: not the application's, and nothing visible.
    const QImage icon = frmInfo->windowIcon().pixmap(16, 16).toImage();
    ASSERT_FALSE(icon.isNull());
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width(); ++x) {
            EXPECT_EQ(qAlpha(icon.pixel(x, y)), 0) << x << "," << y;
        }
    }
    EXPECT_TRUE(frmInfo->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(frmInfo->isModal());
    EXPECT_EQ(frmInfo->size(), QSize(359, 233));
    EXPECT_EQ(frmInfo->WebBrowser1()->geometry(), QRect(0, 0, 367, 267));
    EXPECT_FALSE(frmInfo->WebBrowser1()->openLinks());
    // Placed just below the screen, 5700 twips (380 px) left of its right edge; no tick
    // has run yet, as ticks come only from the event loop.
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(frmInfo->pos(), QPoint(area.right() + 1 - 380, area.bottom() + 1));
    EXPECT_EQ(frmInfo->Slide().Ticks(), 0);
    EXPECT_TRUE(frmInfo->TimerRunning());
}

// Records the order in which windows are shown and raised.
class StackingLog : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show || event->type() == QEvent::ZOrderChange)
            log.append(watched->objectName() +
                       (event->type() == QEvent::Show ? QStringLiteral(" shown") : QStringLiteral(" raised")));
        return false;
    }
    QStringList log;
};

// Start-up as the program runs it: the probe, the main window shown, then the notice,
// which comes out on top with the keyboard; Esc closes it and gives the main window back.
TEST_F(NoticeTest, StartUpLeavesTheNoticeOnTopWithTheKeyboard) {
    server.Route("/info/notice.html", Html("<title>News</title><p>Hello</p>"));
    mainWindow.setObjectName(QStringLiteral("main"));
    QPointer<QWidget> notice = RunStartupNotice(mainWindow, server.Url(QStringLiteral("/info/notice.html")));
    ASSERT_NE(notice, nullptr);
    EXPECT_FALSE(notice->isVisible());
    StackingLog stacking;
    notice->installEventFilter(&stacking);
    mainWindow.installEventFilter(&stacking);
    mainWindow.show();
    ShowStartupNotice(notice);
    mainWindow.removeEventFilter(&stacking);
    EXPECT_EQ(stacking.log, (QStringList{QStringLiteral("main shown"), QStringLiteral("frmInfo shown"),
                                         QStringLiteral("frmInfo raised")}));
    ASSERT_TRUE(WaitFor([&] { return QApplication::activeWindow() == notice; }));
    EXPECT_FALSE(mainWindow.isEnabled());

    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : notice.data(), Qt::Key_Escape);
    EXPECT_TRUE(mainWindow.isEnabled());
    ASSERT_TRUE(WaitFor([&] { return notice.isNull(); }));
    mainWindow.hide();
}

TEST_F(NoticeTest, SlidesUpAndRestsThenClosingEnablesTheMainWindow) {
    server.Route("/info/notice.html", Html("<title>News</title><p>Hello</p>"));
    QPointer<FrmInfo> frmInfo = Probe("/info/notice.html");
    ASSERT_NE(frmInfo, nullptr);
    ASSERT_TRUE(WaitFor([&] { return !frmInfo->TimerRunning(); }));
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(frmInfo->Slide().Ticks(), 93);
    EXPECT_EQ(frmInfo->Slide().Top(), static_cast<float>(area.height() * 15 - 4650));
    EXPECT_EQ(frmInfo->pos(), QPoint(area.right() + 1 - 380, area.bottom() + 1 - 310));
    // Resting: the main window still waits.
    QTest::qWait(30);
    EXPECT_EQ(frmInfo->Slide().Ticks(), 93);
    EXPECT_FALSE(mainWindow.isEnabled());

    frmInfo->close();
    EXPECT_TRUE(mainWindow.isEnabled());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frmInfo, nullptr);
}

TEST_F(NoticeTest, ClosingDuringTheSlideStopsItForGood) {
    server.Route("/info/notice.html", Html("<title>News</title><p>Hello</p>"));
    QPointer<FrmInfo> frmInfo = Probe("/info/notice.html");
    ASSERT_NE(frmInfo, nullptr);
    ASSERT_TRUE(WaitFor([&] { return frmInfo->Slide().Ticks() >= 5; }));
    ASSERT_TRUE(frmInfo->TimerRunning());
    frmInfo->close();
    EXPECT_TRUE(mainWindow.isEnabled());
    EXPECT_FALSE(frmInfo->TimerRunning());
    const int ticks = frmInfo->Slide().Ticks();
    EXPECT_LT(ticks, 93);
    // The window goes away with its timer; the event loop runs on without it.
    QTest::qWait(30);
    EXPECT_EQ(frmInfo, nullptr);
}

QByteArray Png(const QImage& image) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

TEST_F(NoticeTest, ImagesComeThroughTheNetwork) {
    QImage logo(8, 8, QImage::Format_RGB32);
    logo.fill(Qt::red);
    const QByteArray png = Png(logo);
    server.Route("/info/notice.html", Html("<title>News</title><p><img src=\"logo.png\"></p>"));
    server.Route("/info/logo.png", Response{200, "OK", "image/png", png, false, {}});
    QPointer<FrmInfo> frmInfo = Probe("/info/notice.html");
    ASSERT_NE(frmInfo, nullptr);
    NoticeBrowser* browser = frmInfo->WebBrowser1();
    const QUrl logoUrl = server.Url(QStringLiteral("/info/logo.png"));
    ASSERT_TRUE(WaitFor([&] { return browser->PendingFetches() == 0; }));
    EXPECT_EQ(browser->loadResource(QTextDocument::ImageResource, logoUrl).value<QImage>(),
              logo.convertToFormat(QImage::Format_RGB32));
    // Laid out again with the picture in it: the document is now taller than its text.
    EXPECT_GE(browser->document()->size().height(), 8.0);
    EXPECT_EQ(server.RequestedPaths().count("/info/logo.png"), 1);
    EXPECT_EQ(server.RequestedPaths().count("/info/notice.html"), 1);  // the page only once
}

TEST_F(NoticeTest, StyleSheetAppliesWhenItArrives) {
    server.Route("/info/notice.html",
                 Html("<html><head><title>News</title><link rel=\"stylesheet\" type=\"text/css\" href=\"n.css\">"
                      "</head><body><p>Hello</p></body></html>"));
    server.Route("/info/n.css", Response{200, "OK", "text/css", "p { color: #ff0000; }", false, {}});
    QPointer<FrmInfo> frmInfo = Probe("/info/notice.html");
    ASSERT_NE(frmInfo, nullptr);
    NoticeBrowser* browser = frmInfo->WebBrowser1();
    const auto textColour = [&] {
        return browser->document()->begin().begin().fragment().charFormat().foreground().color();
    };
    ASSERT_TRUE(WaitFor([&] { return textColour() == QColor(0xff, 0, 0); }));
    EXPECT_EQ(browser->toPlainText(), QStringLiteral("Hello"));
    EXPECT_EQ(browser->source(), server.Url(QStringLiteral("/info/notice.html")));
    QTest::qWait(50);  // no loop of reloads: the sheet is fetched once
    EXPECT_EQ(server.RequestedPaths().count("/info/n.css"), 1);
}

// Read through GetParam(), which cppcheck does not follow.
struct ResourceCase {
    const char* name;
    // cppcheck-suppress unusedStructMember
    const char* page;  // head, then body; {own}, {other}: the two servers; {file}: a red
                       // picture on this disk
    // cppcheck-suppress unusedStructMember
    bool red;  // the red picture appears
};

void PrintTo(const ResourceCase& c, std::ostream* os) { *os << c.name; }

class ResourceTest : public NoticeTest, public ::testing::WithParamInterface<ResourceCase> {};

// Pictures and style sheets come from the page's own server only, never from this disk.
TEST_P(ResourceTest, OnlyThePagesOwnServerIsAsked) {
    QImage red(16, 16, QImage::Format_RGB32);
    red.fill(Qt::red);
    const qbtest::TempDir dir;
    const QString file = QDir::fromNativeSeparators(QString::fromStdU16String(dir.Text())) + "/red.png";
    ASSERT_TRUE(red.save(file, "PNG"));
    LocalHttpServer other;
    ASSERT_TRUE(other.Listening());
    for (LocalHttpServer* s : {&server, &other}) {
        s->Route("/red.png", Response{200, "OK", "image/png", Png(red), false, {}});
        s->Route("/red.css", Response{200, "OK", "text/css", "p { color: #ff0000; }", false, {}});
    }
    // The page's server answers the local file's path with a page, not a picture.
    server.Route(file.toUtf8(), Html("<title>Not a picture</title>"));
    Response moved{302, "Found", "text/html", "", false, {}};
    moved.extraHeaders = "Location: " + other.Url(QStringLiteral("/red.png")).toEncoded() + "\r\n";
    server.Route("/moved.png", moved);
    const QString own = server.Url(QString()).toString();
    QString body = QString::fromLatin1(GetParam().page);
    body.replace(QStringLiteral("{own}"), own)
        .replace(QStringLiteral("{other}"), other.Url(QString()).toString())
        .replace(QStringLiteral("{localhost}"),
                 QString(own).replace(QStringLiteral("127.0.0.1"), QStringLiteral("localhost")))
        .replace(QStringLiteral("{file}"), file);
    server.Route("/info/notice.html", Html("<html><head><title>News</title>" + body.toUtf8() + "</body></html>"));

    QPointer<FrmInfo> frmInfo = Probe("/info/notice.html");
    ASSERT_NE(frmInfo, nullptr);
    NoticeBrowser* browser = frmInfo->WebBrowser1();
    const auto redPixels = [&] {
        const QImage shot = browser->viewport()->grab().toImage();
        int count = 0;
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x)
                count += shot.pixelColor(x, y) == QColor(Qt::red) ? 1 : 0;
        }
        return count;
    };
    redPixels();  // lays the page out, which asks for its resources
    ASSERT_TRUE(WaitFor([&] { return browser->PendingFetches() == 0; }));
    QTest::qWait(20);
    EXPECT_EQ(redPixels() > 0, GetParam().red);
    EXPECT_EQ(other.RequestedPaths(), QList<QByteArray>{});
    EXPECT_EQ(server.RequestedPaths().count("/info/notice.html"), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, ResourceTest,
    ::testing::Values(
        ResourceCase{"own_image", "</head><body><img src=\"{own}/red.png\" width=40 height=40>", true},
        ResourceCase{"own_relative_background",
                     "</head><body><table background=\"../red.png\" width=100 height=60>"
                     "<tr><td>x</td></tr></table>",
                     true},
        ResourceCase{"own_stylesheet",
                     "<link rel=\"stylesheet\" type=\"text/css\" href=\"/red.css\"></head>"
                     "<body><p>xxxxxxxx</p>",
                     true},
        ResourceCase{"file_url_image", "</head><body><img src=\"file://{file}\" width=40 height=40>", false},
        ResourceCase{"local_path_image", "</head><body><img src=\"{file}\" width=40 height=40>", false},
        ResourceCase{"file_url_body_background", "</head><body background=\"file://{file}\"><p>x</p>", false},
        ResourceCase{"local_path_table_background",
                     "</head><body><table background=\"{file}\" width=100 height=60>"
                     "<tr><td>x</td></tr></table>",
                     false},
        ResourceCase{"file_url_stylesheet",
                     "<link rel=\"stylesheet\" type=\"text/css\" href=\"file://{file}\"></head>"
                     "<body><p>x</p>",
                     false},
        ResourceCase{"other_host_image", "</head><body><img src=\"{other}/red.png\" width=40 height=40>", false},
        ResourceCase{"other_host_background",
                     "</head><body><table background=\"{other}/red.png\" width=100 height=60>"
                     "<tr><td>x</td></tr></table>",
                     false},
        ResourceCase{"other_host_stylesheet",
                     "<link rel=\"stylesheet\" type=\"text/css\" href=\"{other}/red.css\"></head>"
                     "<body><p>xxxxxxxx</p>",
                     false},
        ResourceCase{"redirect_to_other_host", "</head><body><img src=\"{own}/moved.png\" width=40 height=40>", false},
        ResourceCase{"other_host_name_same_port", "</head><body><img src=\"{localhost}/red.png\" width=40 height=40>",
                     false}),
    [](const ::testing::TestParamInfo<ResourceCase>& info) { return std::string(info.param.name); });

// Receives the links handed to the system's browser.
class LinkCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:  // NOLINT(readability-redundant-access-specifiers): moc needs the slots section
    void Open(const QUrl& url) { opened.append(url); }
};

TEST_F(NoticeTest, LinksOpenOutsideTheWindow) {
    LinkCatcher catcher;
    for (const char* scheme : {"http", "https", "mailto", "file"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &catcher, "Open");
    server.Route("/info/notice.html", Html("<title>News</title><p><a href=\"more.html\">more</a>"));
    QPointer<FrmInfo> frmInfo = Probe("/info/notice.html");
    ASSERT_NE(frmInfo, nullptr);
    NoticeBrowser* browser = frmInfo->WebBrowser1();
    const QUrl page = browser->source();

    emit browser->anchorClicked(QUrl(QStringLiteral("more.html")));
    emit browser->anchorClicked(QUrl(QStringLiteral("mailto:info@quillbrook.example")));
    emit browser->anchorClicked(QUrl(QStringLiteral("file:///etc/passwd")));
    QCoreApplication::processEvents();

    for (const char* scheme : {"http", "https", "mailto", "file"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    EXPECT_EQ(catcher.opened, (QList<QUrl>{server.Url(QStringLiteral("/info/more.html")),
                                           QUrl(QStringLiteral("mailto:info@quillbrook.example"))}));
    EXPECT_EQ(browser->source(), page);
    EXPECT_EQ(server.RequestedPaths(), QList<QByteArray>{"/info/notice.html"});
}

}  // namespace
}  // namespace qb::notice

#include "notice_window_test.moc"
