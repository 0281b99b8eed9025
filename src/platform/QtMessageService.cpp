#include "QtMessageService.h"

#include "QtTranslations.h"

#include <QApplication>
#include <QMessageBox>

namespace lobex {

void QtMessageService::Show(std::string_view text, MessageIcon icon, std::string_view caption) {
    ShowBox(text, QString(), icon, caption);
}

void QtMessageService::ShowWithCause(std::string_view text, const Rejection& cause,
                                     MessageIcon icon, std::string_view caption) {
    ShowBox(text, ShownCause(cause), icon, caption);
}

void QtMessageService::ShowBox(std::string_view text, const QString& detail, MessageIcon icon,
                               std::string_view caption) {
    QString body = ShownText(text);
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QMessageBox::Icon boxIcon =
        icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::Information;
    // A message that interrupts long work is answered with the ordinary pointer.
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy) {
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    QMessageBox box(boxIcon, ShownText(caption), body, QMessageBox::Ok, parent_.data());
    box.setDetailedText(detail);
    box.exec();
    if (busy) {
        QApplication::restoreOverrideCursor();
    }
}

} // namespace lobex
