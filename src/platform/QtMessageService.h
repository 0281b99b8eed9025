#pragma once

#include "core/Services.h"

#include <QPointer>
#include <QWidget>

namespace lobex {

// Message boxes through QMessageBox, modal to the given window.
class QtMessageService final : public MessageService {
public:
    explicit QtMessageService(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    void Show(std::string_view text, MessageIcon icon, std::string_view caption) override;
    // The cause goes into the box's detailed text, in the interface language.
    void ShowWithCause(std::string_view text, const Rejection& cause, MessageIcon icon,
                       std::string_view caption) override;

private:
    void ShowBox(std::string_view text, const QString& detail, MessageIcon icon,
                 std::string_view caption);

    QPointer<QWidget> parent_;
};

} // namespace lobex
