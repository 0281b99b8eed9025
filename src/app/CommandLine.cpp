#include "CommandLine.h"

#include "core/AtomicFile.h"
#include "core/Utf8Path.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QImageWriter>
#include <QPixmap>
#include <QThread>
#include <QWidget>
#include <QWindow>

namespace lobex {

StartupOptions ParseStartupOptions(const QStringList& arguments) {
    StartupOptions options;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--screenshot")) {
            if (i + 1 >= arguments.size()) {
                options.error = QStringLiteral("--screenshot needs a file name");
                return options;
            }
            options.screenshot = arguments[++i];
        } else if (argument == QLatin1String("--3d") || argument == QLatin1String("--3d-window")) {
            options.view3d = true;
            options.view3dWindow =
                options.view3dWindow || argument.endsWith(QLatin1String("window"));
        } else if (argument == QLatin1String("--antenna")) {
            if (i + 1 >= arguments.size()) {
                options.error = QStringLiteral("--antenna needs a file name");
                return options;
            }
            options.antenna = arguments[++i];
        } else if (argument.startsWith(QLatin1String("--"))) {
            options.error = QStringLiteral("unknown option %1").arg(argument);
            return options;
        } else if (options.file.isEmpty()) {
            options.file = argument;
        } else {
            options.error = QStringLiteral("only one file can be opened");
            return options;
        }
    }
    return options;
}

bool SaveWindowPicture(QWidget& window, const QString& path, QString* error) {
    const QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired() &&
           (window.windowHandle() == nullptr || !window.windowHandle()->isExposed())) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
    }
    QCoreApplication::processEvents();
    const QPixmap picture = window.grab();
    if (picture.isNull()) {
        *error = QStringLiteral("the window could not be grabbed");
        return false;
    }
    QByteArray format = QFileInfo(path).suffix().toLower().toLatin1();
    if (format.isEmpty()) {
        format = "png";
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(picture.toImage())) {
        *error = writer.errorString();
        return false;
    }
    const FileWriteResult written = WriteAtomically(
        Utf8Path(path.toStdString()),
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!written.ok) {
        *error = QString::fromStdString(written.error);
    }
    return written.ok;
}

} // namespace lobex
