// The real message boxes: modal, OK only, the caption and icon they are given.

#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "app/message_box_sink.h"
#include "app_test_support.h"

namespace apptest {
namespace {

TEST(MessageBoxSinkTest, ShowsModalBoxesWithOkOnlyAndTheirOwnIcon) {
    const struct {
        qb::MessageIcon icon;
        QString caption;
        QMessageBox::Icon boxIcon;
        QString details;  // under the text, in smaller type
    } rows[] = {{qb::MessageIcon::None, "Quillbrook", QMessageBox::NoIcon, "書き込んだファイル:\na-1.txt　2 件"},
                {qb::MessageIcon::Exclamation, "Quillbrook", QMessageBox::Warning, ""},
                {qb::MessageIcon::Critical, "Ranking", QMessageBox::Critical, ""}};
    QWidget parent;
    qb::app::MessageBoxSink sink(&parent);
    for (const auto& row : rows) {
        QString seenTitle;
        QString seenText;
        QString seenDetails = "none seen";
        QMessageBox::Icon seenIcon = QMessageBox::Question;
        QMessageBox::StandardButtons seenButtons;
        bool modal = false;
        int width = 0;
        // Looks at the box while it waits for an answer, then presses OK.
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                return;
            }
            seenTitle = box->windowTitle();
            seenText = box->text();
            seenDetails = box->informativeText();
            seenIcon = box->icon();
            seenButtons = box->standardButtons();
            modal = box->isModal();
            width = box->width();
            box->button(QMessageBox::Ok)->click();
        });
        sink.Show(u"書き込み正常終了", row.icon, row.caption.toStdU16String(), row.details.toStdU16String());
        EXPECT_EQ(seenTitle, row.caption);
        EXPECT_EQ(seenText, QStringLiteral("書き込み正常終了"));
        EXPECT_EQ(seenDetails, row.details);
        EXPECT_EQ(seenIcon, row.boxIcon);
        EXPECT_EQ(seenButtons, QMessageBox::StandardButtons(QMessageBox::Ok));
        EXPECT_TRUE(modal);
        // Wide enough that the title bar shows the whole caption beside its buttons.
        EXPECT_GE(width, QFontMetrics(QApplication::font()).horizontalAdvance(row.caption) + 160);
    }
}

}  // namespace
}  // namespace apptest
