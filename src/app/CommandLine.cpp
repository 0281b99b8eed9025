#include "CommandLine.h"

#include "View3DWidget.h"
#include "core/AtomicFile.h"
#include "core/Utf8Path.h"
#include "frmData.h"

#include <QApplication>
#include <QBuffer>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace lobex {

StartupOptions ParseStartupOptions(const std::vector<std::string>& arguments) {
    StartupOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--screenshot") {
            if (i + 1 >= arguments.size()) {
                options.error = QStringLiteral("--screenshot needs a file name");
                return options;
            }
            options.screenshot = arguments[++i];
        } else if (argument == "--3d" || argument == "--3d-window") {
            options.view3d = true;
            options.view3dWindow = options.view3dWindow || argument == "--3d-window";
        } else if (argument == "--antenna") {
            if (i + 1 >= arguments.size()) {
                options.error = QStringLiteral("--antenna needs a file name");
                return options;
            }
            options.antenna = arguments[++i];
        } else if (argument == "--compare") {
            if (i + 1 >= arguments.size()) {
                options.error = QStringLiteral("--compare needs a file name");
                return options;
            }
            options.compare.push_back(arguments[++i]);
        } else if (argument.starts_with("--")) {
            options.error =
                QStringLiteral("unknown option %1").arg(QFile::decodeName(argument.c_str()));
            return options;
        } else if (options.file.empty()) {
            options.file = argument;
        } else {
            options.error = QStringLiteral("only one file can be opened");
            return options;
        }
    }
    if (!options.compare.empty() && options.file.empty()) {
        options.error = QStringLiteral("--compare needs a FILE to compare with");
    }
    return options;
}

void OpenFileFromOtherCopy(frmData& window, const std::string& path) {
    static constexpr int kRetryMs = 200;
    if (window.Loading() || QApplication::activeModalWidget() != nullptr) {
        QTimer::singleShot(kRetryMs, &window,
                           [&window, path] { OpenFileFromOtherCopy(window, path); });
        return;
    }
    window.OpenFileFromOutside(path);
}

std::string WithNativeSeparators(std::string path) {
    const char separator = QDir::separator().toLatin1();
    std::replace(path.begin(), path.end(), '/', separator);
    return path;
}

bool SaveWindowPicture(QWidget& window, const std::string& path, QString* error) {
    const QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired() &&
           (window.windowHandle() == nullptr || !window.windowHandle()->isExposed())) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
    }
    QCoreApplication::processEvents();
    const QImage picture = WidgetPicture(window);
    if (picture.isNull()) {
        *error = QStringLiteral("the window could not be grabbed");
        return false;
    }
    const std::string suffix = Utf8Path(path).extension().string();
    QByteArray format = suffix.size() > 1 ? QByteArray(suffix.c_str() + 1).toLower() : "png";
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(picture)) {
        *error = writer.errorString();
        return false;
    }
    const FileWriteResult written =
        WriteAtomically(Utf8Path(path), std::string_view(bytes.constData(),
                                                         static_cast<std::size_t>(bytes.size())));
    if (!written.ok) {
        *error = QString::fromStdString(written.error);
    }
    return written.ok;
}

void PrintedMessages::Show(std::string_view text, MessageIcon icon, std::string_view) {
    std::string line(text);
    for (std::size_t at = 0; (at = line.find_first_of("\r\n", at)) != std::string::npos;) {
        const std::size_t length = line.compare(at, 2, "\r\n") == 0 ? 2 : 1;
        line.replace(at, length, " ");
    }
    out_ << "lobex: message (icon " << static_cast<int>(icon) << "): " << line << std::endl;
}

void PrintedMessages::ShowWithCause(std::string_view text, const Rejection& cause, MessageIcon icon,
                                    std::string_view caption) {
    Show(text, icon, caption);
    out_ << "lobex: cause: " << RejectionText(cause) << std::endl;
}

} // namespace lobex
