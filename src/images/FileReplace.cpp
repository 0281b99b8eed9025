#include "FileReplace.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace lobex {

namespace {

// The owner's write bit is the read-only mark (the Windows attribute maps onto it). Access
// checks would not do: they pass everything for an administrator.
bool IsMarkedReadOnly(const QFileInfo& info) {
    return info.exists() && info.isFile() && !(info.permissions() & QFileDevice::WriteOwner);
}

std::string Describe(const QString& text) {
    return text.isEmpty() ? std::string("Path/File access error") : text.toStdString();
}

} // namespace

std::string WriteFileReplacing(const std::string& path, const QByteArray& bytes,
                               ReadOnlyTarget readOnly) {
    const QString name = QString::fromStdString(path);
    if (name.isEmpty()) {
        return "Bad file name";
    }
    const QFileInfo info(name);
    if (info.isDir()) {
        return "Path/File access error";
    }
    const QFileDevice::Permissions original = info.permissions();
    bool unmarked = false;
    if (IsMarkedReadOnly(info)) {
        if (readOnly == ReadOnlyTarget::Refuse) {
            return "Permission denied";
        }
        if (!QFile::setPermissions(name, original | QFileDevice::WriteOwner)) {
            return "Permission denied";
        }
        unmarked = true;
    }
    const auto fail = [&](const QString& description) {
        if (unmarked) {
            QFile::setPermissions(name, original);
        }
        return Describe(description);
    };

    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly)) {
        return fail(file.errorString());
    }
    if (file.write(bytes) != bytes.size()) {
        const QString description = file.errorString();
        file.cancelWriting();
        return fail(description);
    }
    if (!file.commit()) {
        return fail(file.errorString());
    }
    return {};
}

} // namespace lobex
