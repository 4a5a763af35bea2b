#pragma once
// Messages as modal message boxes over the window: OK only, the given caption and icon.

#include <QPointer>
#include <QWidget>

#include "export/messages.h"

namespace qb::app {

class MessageBoxSink final : public MessageSink {
public:
    explicit MessageBoxSink(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    using MessageSink::Show;
    void Show(const std::u16string& text, MessageIcon icon, const std::u16string& caption,
              const std::u16string& details) override;

private:
    QPointer<QWidget> parent_;
};

}  // namespace qb::app
