// Starts Quillbrook: the main window, then the start-up notice.
//   quillbrook                       the program
//   quillbrook --screenshot FILE     draws the window into a PNG file and ends

#include <QApplication>
#include <QCommandLineParser>
#include <QPointer>
#include <QTimer>

#include "app/app_setup.h"
#include "app/main_window.h"
#include "app/message_box_sink.h"
#include "app/volumes.h"
#include "export/clock.h"
#include "notice/notice.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    qb::app::PrepareApplication(application);

    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Draw the window into a PNG file and end."),
                                        QStringLiteral("file"));
    parser.addOption(screenshot);
    parser.process(application);
    const QString screenshotFile = parser.value(screenshot);

    qb::SystemClock clock;
    qb::app::SystemVolumeSource volumes;
    qb::app::MessageBoxSink messages;
    qb::app::MainWindowServices services{&messages, &clock, &volumes, {}, {}};
    QPointer<QWidget> notice;
    if (screenshotFile.isEmpty()) {
        services.probe = [&notice](QWidget& window) {
            notice = qb::notice::RunStartupNotice(window, qb::notice::DefaultNoticeUrl());
        };
    }
    qb::app::MainWindow window(std::move(services));
    messages.SetParent(&window);
    window.show();
    // After the main window, so that the notice lies on top of it and takes the keyboard.
    qb::notice::ShowStartupNotice(notice);

    if (!screenshotFile.isEmpty()) {
        QTimer::singleShot(300, &window, [&window, &screenshotFile] {
            const bool saved = window.grab().save(screenshotFile, "PNG");
            QCoreApplication::exit(saved ? 0 : 1);
        });
    }
    return QApplication::exec();
}
