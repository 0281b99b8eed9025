#include "QtHelpService.h"

#include <QFileInfo>

namespace lobex {

bool QtHelpService::ShowHelp(std::string_view helpFile) {
    const QString path =
        QString::fromUtf8(helpFile.data(), static_cast<qsizetype>(helpFile.size()));
    // No window for a document that is not there.
    if (!QFileInfo(path).isFile()) {
        return false;
    }
    if (window_ == nullptr) {
        window_ = new frmHelp(parent_.data());
    }
    return window_->Open(path);
}

} // namespace lobex
