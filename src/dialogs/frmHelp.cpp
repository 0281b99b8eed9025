#include "frmHelp.h"

#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace lobex {

frmHelp::frmHelp(QWidget* mainWindow) : QWidget(mainWindow, Qt::Window), mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(tr("Справка"));
    // An open help window does not keep the program running once the main window has gone.
    setAttribute(Qt::WA_QuitOnClose, false);
    txtHelp = new QTextBrowser(this);
    txtHelp->setObjectName(QStringLiteral("txtHelp"));
    txtHelp->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(txtHelp);
    resize(760, 620);
}

bool frmHelp::Open(const QString& path) {
    // A folder or an unreadable file would show an empty page: say no instead.
    const QFileInfo file(path);
    if (!file.isFile() || !QFile(path).open(QIODevice::ReadOnly)) {
        return false;
    }
    txtHelp->setSource(QUrl::fromLocalFile(file.absoluteFilePath()), QTextDocument::HtmlResource);
    txtHelp->clearHistory();
    const QString title = txtHelp->documentTitle();
    setWindowTitle(title.isEmpty() ? tr("Справка") : title);
    if (!isVisible() && mainWindow_ != nullptr) {
        const QRect main = mainWindow_->frameGeometry();
        move(main.left() + (main.width() - width()) / 2,
             main.top() + (main.height() - height()) / 2);
    }
    showNormal();
    raise();
    activateWindow();
    return true;
}

void frmHelp::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace lobex
