// Takes a picture of the screen while the notice window slides up over a stand-in main
// window, with a notice page served from 127.0.0.1. Needs a real display, e.g.
//   xvfb-run -a -s "-screen 0 1280x1024x24" sh -c "openbox & sleep 1; notice_slide_shot OUT.png [ticks]"
// (the window manager only draws the captions; without it the windows have no frames).
#include "local_http_server.h"
#include "notice/frm_info.h"

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QVBoxLayout>

#include <cstdio>

namespace {

QByteArray Banner() {
    QImage image(320, 36, QImage::Format_RGB32);
    image.fill(QColor(0x2e, 0x5c, 0x8a));
    QPainter painter(&image);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPixelSize(18);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("Quillbrook Ver" QB_VERSION));
    painter.end();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: notice_slide_shot OUT.png [ticks]\n");
        return 64;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const int ticks = argc > 2 ? QByteArray(argv[2]).toInt() : 60;

    using qb::notice::test::Response;
    qb::notice::test::LocalHttpServer server;
    const QByteArray page =
        "<html><head><meta charset=\"UTF-8\"><title>お知らせ</title></head><body>"
        "<p><img src=\"banner.png\"></p>"
        "<p><b>新しい版を公開しました</b></p>"
        "<p>Ver" QB_VERSION
        " では EUC-JP と UTF-8 の書き出しが速くなりました。"
        "詳しくは<a href=\"news.html\">更新履歴</a>をご覧ください。</p>"
        "<p>いつもご利用ありがとうございます。</p></body></html>";
    server.Route("/info/notice.html", Response{200, "OK", "text/html", page, false, {}});
    server.Route("/info/banner.png", Response{200, "OK", "image/png", Banner(), false, {}});

    QWidget mainWindow;
    mainWindow.setWindowTitle(QStringLiteral("Quillbrook"));
    mainWindow.resize(949, 609);
    mainWindow.move(80, 300);
    auto* layout = new QVBoxLayout(&mainWindow);
    auto* label = new QLabel(QStringLiteral("投稿用ファイル作成ツール (main window stand-in)"));
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
    mainWindow.setEnabled(false);

    qb::notice::FrmInfo* frmInfo =
        qb::notice::ProbeAndShowNotice(mainWindow, server.Url(QStringLiteral("/info/notice.html")), 5000);
    mainWindow.show();
    if (!frmInfo) {
        std::fprintf(stderr, "the notice window was not shown\n");
        return 1;
    }
    while (frmInfo->Slide().Ticks() < ticks && !frmInfo->Slide().Stopped())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents();
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
    std::printf("ticks %d, notice window at (%d, %d), main window enabled: %s\n", frmInfo->Slide().Ticks(),
                frmInfo->x(), frmInfo->y(), mainWindow.isEnabled() ? "yes" : "no");
    return shot.save(out, "PNG") ? 0 : 1;
}
