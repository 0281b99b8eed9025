#include "SaveChoices.h"

#include "core/TextRules.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <algorithm>

namespace lobex {

FormatOfName FormatForFileName(std::string_view path, std::span<const NamedFormat> offered,
                               int chosen) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    // ".hidden" is a name without an extension.
    if (name.rfind('.') == std::string_view::npos || name.rfind('.') == 0) {
        return {chosen, {}};
    }
    FormatOfName found{0, LowerExtension(name)};
    const auto names = [&found](const NamedFormat& format) {
        return std::ranges::count(Split(format.extensions, " "), found.extension) > 0;
    };
    if (!found.extension.empty() && chosen >= 1 && chosen <= static_cast<int>(offered.size()) &&
        names(offered[static_cast<std::size_t>(chosen) - 1])) {
        found.index = chosen;
    }
    for (std::size_t i = 0; i < offered.size() && found.index == 0; ++i) {
        for (const std::string& extension : Split(offered[i].extensions, " ")) {
            if (!found.extension.empty() && extension == found.extension) {
                found.index = static_cast<int>(i) + 1;
            }
        }
    }
    return found;
}

std::string OfferedExtensions(std::span<const NamedFormat> offered) {
    std::string list;
    for (const NamedFormat& format : offered) {
        for (const std::string& extension : Split(format.extensions, " ")) {
            list += (list.empty() ? "." : ", .") + extension;
        }
    }
    return list;
}

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
    case 6:
        return view3DActive ? SaveFormat{kFrequencyGifFormat, false, false} : SaveFormat{};
    default:
        return {};
    }
}

std::string CaptureFilePath(const std::string& folder, const QDateTime& when) {
    const QDir dir(QString::fromStdString(folder));
    const QString stem =
        QStringLiteral("capture-") + when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString path = dir.filePath(stem + QStringLiteral(".bmp"));
    for (int copy = 2; QFileInfo::exists(path); ++copy) {
        path = dir.filePath(stem + QStringLiteral("-%1.bmp").arg(copy));
    }
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
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    for (const QString& folder : {pictures, QDir::homePath(), QDir::tempPath()}) {
        if (!folder.isEmpty() && QDir().mkpath(folder) && FolderIsWritable(folder.toStdString())) {
            return QDir::toNativeSeparators(folder).toStdString();
        }
    }
    return QDir::toNativeSeparators(QDir::tempPath()).toStdString();
}

} // namespace lobex
