#include "FontResolver.h"

#include <QFontDatabase>
#include <QStringList>

#include <algorithm>
#include <array>
#include <map>
#include <mutex>

namespace lobex::plotter {
namespace {

QString FindInstalled(const QString& requested) {
    const QStringList families = QFontDatabase::families();
    const auto installed = [&](const QString& family) -> QString {
        for (const QString& candidate : families) {
            if (candidate.compare(family, Qt::CaseInsensitive) == 0) {
                return candidate;
            }
        }
        return {};
    };
    // The bitmap face cannot be scaled or turned even where it is installed.
    if (requested.compare(QStringLiteral("MS Sans Serif"), Qt::CaseInsensitive) != 0) {
        if (QString found = installed(requested); !found.isEmpty()) {
            return found;
        }
    }
    static const std::array<const char*, 13> kSansSerif = {"Microsoft Sans Serif",
                                                           "Segoe UI",
                                                           "Tahoma",
                                                           "Arial",
                                                           "Helvetica Neue",
                                                           "Helvetica",
                                                           "Liberation Sans",
                                                           "Arimo",
                                                           "Noto Sans",
                                                           "DejaVu Sans",
                                                           "Nimbus Sans",
                                                           "FreeSans",
                                                           "Cantarell"};
    for (const char* family : kSansSerif) {
        if (QString found = installed(QString::fromLatin1(family)); !found.isEmpty()) {
            return found;
        }
    }
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

} // namespace

QString ResolveFontFamily(const QString& requested) {
    static std::mutex mutex;
    static std::map<QString, QString> resolved;
    const std::lock_guard lock(mutex);
    const auto found = resolved.find(requested);
    if (found != resolved.end()) {
        return found->second;
    }
    QString family = FindInstalled(requested);
    resolved.emplace(requested, family);
    return family;
}

QFont MakeFont(const FontSpec& spec, double sizeFactor) {
    QFont font(ResolveFontFamily(QString::fromStdString(spec.family)));
    font.setPointSizeF(std::max(0.01, spec.points * sizeFactor));
    font.setWeight(static_cast<QFont::Weight>(std::clamp(spec.weight, 1, 1000)));
    font.setItalic(spec.italic);
    font.setUnderline(spec.underline);
    font.setStrikeOut(spec.strikeout);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace lobex::plotter
