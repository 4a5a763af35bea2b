#include "app/message_box_sink.h"

#include <QMessageBox>

namespace qb::app {

void MessageBoxSink::Show(const std::u16string& text, MessageIcon icon, const std::u16string& caption) {
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
    box.exec();
}

}  // namespace qb::app
