#include "TempFolder.h"

#include "core/Lifecycle.h"

#include <QDir>

namespace lobex {

bool MakePrivateFolder(const std::string& path, std::string& reason) {
    if (QDir().mkpath(QString::fromStdString(path))) {
        return true;
    }
    reason = "the folder cannot be made";
    return false;
}

// The Windows temp folder is already per user; a folder of our own keeps our fixed names apart.
TempFolder GetTempFolder() {
    const std::string folder =
        QDir::toNativeSeparators(QDir(QDir::tempPath()).filePath(QStringLiteral("Lobex")))
            .toStdString();
    TempFolder result;
    std::string reason;
    if (MakePrivateFolder(folder, reason)) {
        result.path = WithTrailingSeparator(folder, '\\');
    } else {
        result.problem = folder + ": " + reason;
    }
    return result;
}

} // namespace lobex
