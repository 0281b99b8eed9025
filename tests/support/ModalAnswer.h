#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>
#include <memory>

namespace lobex::test {

// Answers the next modal dialog once it is up, as a user would.
inline void AnswerNextDialog(std::function<void(QDialog&)> answer) {
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [answer, poll] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            answer(*dialog);
            return;
        }
        QTimer::singleShot(10, *poll);
    };
    QTimer::singleShot(0, *poll);
}

inline void PressOk(QDialog& dialog) {
    dialog.findChild<QAbstractButton*>(QStringLiteral("cmdOK"))->click();
}

} // namespace lobex::test
