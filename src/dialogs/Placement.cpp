#include "Placement.h"

#include <QWidget>

namespace lobex {

void PlaceOverMainWindow(QWidget& window, const QWidget* mainWindow) {
    if (mainWindow == nullptr) {
        return;
    }
    const QRect main = mainWindow->frameGeometry();
    const QSize own = window.frameGeometry().size().expandedTo(window.size());
    window.move(main.left() + (main.width() - own.width()) / 2,
                main.top() + (main.height() - own.height()) / 2 + 300 / 15);
}

} // namespace lobex
