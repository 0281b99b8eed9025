#include "TempFolder.h"

#include "core/Lifecycle.h"

#include <QDir>

namespace lobex {

// The Windows temp folder is already per user; a folder of our own keeps our fixed names apart.
std::string PrivateTempFolder(const std::string& base) {
    const QString root = QString::fromStdString(base);
    const QString folder = QDir(root).filePath(QStringLiteral("Lobex"));
    if (QDir().mkpath(folder)) {
        return WithTrailingSeparator(QDir::toNativeSeparators(folder).toStdString(), '\\');
    }
    return WithTrailingSeparator(base, '\\');
}

std::string GetTempFolder() {
    return PrivateTempFolder(QDir::tempPath().toStdString());
}

} // namespace lobex
