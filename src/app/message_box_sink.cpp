#include "app/message_box_sink.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace qb::app {

namespace {
// Room for the title bar's icon and buttons beside the caption, in pixels.
constexpr int kTitleBarExtra = 160;
}  // namespace

void MessageBoxSink::Show(const std::u16string& text, MessageIcon icon, const std::u16string& caption,
                          const std::u16string& details) {
    QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
    switch (icon) {
    case MessageIcon::Exclamation:
        boxIcon = QMessageBox::Warning;
        break;
    case MessageIcon::Critical:
        boxIcon = QMessageBox::Critical;
        break;
    case MessageIcon::None:
        break;
    }
    QMessageBox box(boxIcon, QString::fromStdU16String(caption), QString::fromStdU16String(text), QMessageBox::Ok,
                    parent_.data());
    box.setWindowModality(Qt::ApplicationModal);
    if (!details.empty()) {
        box.setInformativeText(QString::fromStdU16String(details));
    }
    // A short message makes a narrow box whose title bar would cut the caption off:
    // keep the box wide enough for the caption and the title bar's buttons.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        const int width = QFontMetrics(box.font()).horizontalAdvance(box.windowTitle()) + kTitleBarExtra;
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                      grid->columnCount());
    }
    box.exec();
}

}  // namespace qb::app
