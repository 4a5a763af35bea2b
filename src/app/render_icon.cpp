// quillbrook-render-icon: writes the window's icon as PNG files for the desktop's icon theme.
//   quillbrook-render-icon FOLDER SIZE...   writes FOLDER/SIZExSIZE.png for every SIZE

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <QString>
#include <QTextStream>

#include "app/app_icon.h"

int main(int argc, char* argv[]) {
    const QGuiApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    QTextStream err(stderr);
    if (args.size() < 2) {
        err << "usage: quillbrook-render-icon FOLDER SIZE...\n";
        return 64;
    }
    const QDir folder(args.front());
    if (!folder.mkpath(QStringLiteral("."))) {
        err << "quillbrook-render-icon: cannot make " << args.front() << '\n';
        return 1;
    }
    for (const QString& arg : args.mid(1)) {
        bool ok = false;
        const int size = arg.toInt(&ok);
        if (!ok || size < 1 || size > 1024) {
            err << "quillbrook-render-icon: not a size: " << arg << '\n';
            return 64;
        }
        const QString file = folder.filePath(QStringLiteral("%1x%1.png").arg(size));
        if (!qb::app::DrawAppIcon(size).save(file, "PNG")) {
            err << "quillbrook-render-icon: cannot write " << file << '\n';
            return 1;
        }
    }
    return 0;
}
