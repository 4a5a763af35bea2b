#include "app/app_setup.h"

#include <QApplication>
#include <QFont>
#include <QStyleFactory>

#include "app/app_icon.h"

namespace qb::app {

QString UiFontFamily() { return QStringLiteral("ＭＳ Ｐゴシック"); }

void PrepareApplication(QApplication& application) {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont::insertSubstitutions(UiFontFamily(), {QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"),
                                                QStringLiteral("Noto Sans CJK JP")});
    application.setApplicationName(QStringLiteral("Quillbrook"));
    application.setApplicationVersion(QStringLiteral(QB_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(QB_APP_ID));  // ties the window to its desktop entry
    QApplication::setWindowIcon(AppIcon());
}

}  // namespace qb::app
