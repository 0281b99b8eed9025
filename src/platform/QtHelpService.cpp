#include "QtHelpService.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace lobex {

bool QtHelpService::ShowHelp(std::string_view helpFile) {
    const QString path =
        QString::fromUtf8(helpFile.data(), static_cast<qsizetype>(helpFile.size()));
    if (!QFileInfo(path).isFile()) {
        return false;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace lobex
