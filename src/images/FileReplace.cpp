#include "FileReplace.h"

#include "core/AtomicFile.h"
#include "core/Utf8Path.h"

#include <QFile>
#include <QFileInfo>

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

    const FileWriteResult written =
        WriteAtomically(Utf8Path(path), std::string_view(bytes.constData(),
                                                         static_cast<std::size_t>(bytes.size())));
    return written.ok ? std::string() : fail(QString::fromStdString(written.error));
}

} // namespace lobex
