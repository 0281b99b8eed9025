#include "PlotClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace lobex::plotter {

bool SystemPlotClipboard::SetPicture(const QImage& image, const QByteArray& svg) {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        return false;
    }
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) {
        return false;
    }
    auto* data = new QMimeData;
    data->setImageData(image);
    data->setData(QStringLiteral("image/svg+xml"), svg);
    clipboard->setMimeData(data); // the clipboard takes ownership
    return true;
}

} // namespace lobex::plotter
