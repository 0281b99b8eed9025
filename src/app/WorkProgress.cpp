#include "WorkProgress.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace lobex {

WorkProgress::WorkProgress(QWidget* window, std::string caption, const char* label,
                           std::function<void()> cancel)
    : window_(window), caption_(std::move(caption)), label_(label), cancel_(std::move(cancel)) {
    tick_.setInterval(500);
    connect(&tick_, &QTimer::timeout, this, &WorkProgress::ShowLabel);
}

WorkProgress::~WorkProgress() {
    Stop();
}

void WorkProgress::Start(const QString& name) {
    Stop();
    name_ = name;
    dialog_ = new QProgressDialog(window_);
    dialog_->setWindowTitle(QString::fromStdString(caption_));
    dialog_->setCancelButtonText(QCoreApplication::translate("lobex", "Отмена"));
    dialog_->setRange(0, 0);
    dialog_->setAutoReset(false);
    dialog_->setAutoClose(false);
    dialog_->setWindowModality(Qt::NonModal);
    connect(dialog_, &QProgressDialog::canceled, this, [this] { cancel_(); });
    elapsed_.start();
    ShowLabel();
    tick_.start();
    // Work that ends at once does not flash a dialog.
    QTimer::singleShot(300, dialog_.data(), &QWidget::show);
}

void WorkProgress::ShowLabel() {
    if (dialog_ != nullptr) {
        dialog_->setLabelText(
            QCoreApplication::translate("lobex", label_).arg(name_).arg(elapsed_.elapsed() / 1000));
    }
}

void WorkProgress::Stop() {
    tick_.stop();
    if (dialog_ != nullptr) {
        dialog_->disconnect(this);
        // Hidden now: a message shown next runs its own loop, which deletes nothing earlier.
        dialog_->hide();
        dialog_->deleteLater();
        dialog_ = nullptr;
    }
}

} // namespace lobex
