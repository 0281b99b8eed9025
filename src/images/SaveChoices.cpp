#include "SaveChoices.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace lobex {

namespace {

constexpr const char* kCaptureFileName = "capture.bmp";

} // namespace

SaveFormat ScreenSaveFormat(int filterIndex) {
    switch (filterIndex) {
    case 1:
        return {"bmp", false, false};
    case 2:
        return {"png", true, false};
    case 3:
        return {"jpg", true, false};
    default:
        return {};
    }
}

SaveFormat GraphSaveFormat(int filterIndex, bool view3DActive, bool patternShown) {
    switch (filterIndex) {
    case 1:
        return {"bmp", false, false};
    case 2:
        return {"png", false, false};
    case 3:
        return view3DActive ? SaveFormat{"jpg", true, false}
                            : SaveFormat{"emf", false, patternShown};
    case 4:
        return view3DActive ? SaveFormat{kModelFormat, false, false}
                            : SaveFormat{"svg", false, patternShown};
    case 5:
        return view3DActive ? SaveFormat{kTurntableFormat, false, false}
                            : SaveFormat{"pdf", false, patternShown};
    default:
        return {};
    }
}

std::string CaptureFilePath(const std::string& appFolder, bool appFolderWritable,
                            const std::string& picturesFolder) {
    if (appFolderWritable || picturesFolder.empty()) {
        return appFolder + kCaptureFileName;
    }
    const QString path = QDir(QString::fromStdString(picturesFolder))
                             .filePath(QString::fromLatin1(kCaptureFileName));
    return QDir::toNativeSeparators(path).toStdString();
}

bool FolderIsWritable(const std::string& folder) {
    const QDir dir(QString::fromStdString(folder));
    if (folder.empty() || !dir.exists()) {
        return false;
    }
    QTemporaryFile probe(dir.filePath(QStringLiteral("lobex-probe-XXXXXX")));
    return probe.open();
}

std::string UserPicturesFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder)) {
        folder = QDir::homePath();
    }
    return QDir::toNativeSeparators(folder).toStdString();
}

std::string CaptureFileLocation(const std::string& appFolder) {
    if (FolderIsWritable(appFolder)) {
        return CaptureFilePath(appFolder, true, {});
    }
    return CaptureFilePath(appFolder, false, UserPicturesFolder());
}

} // namespace lobex
