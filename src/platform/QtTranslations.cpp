#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QStringList>
#include <QTranslator>

namespace lobex {
namespace {

// The English texts, built from translations/lobex_en.ts into the program's resources.
constexpr char kEnglishTranslation[] = ":/translations/lobex_en.qm";

QTranslator* english = nullptr;

// A translation put in front of those installed before; null when it cannot be read.
QTranslator* Install(const QString& file, const QString& folder) {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(file, folder) || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

// The translation of one text, or nothing when none is known.
bool Lookup(const QString& text, QString& translated) {
    if (text.isEmpty()) {
        return false;
    }
    const QByteArray source = text.toUtf8();
    translated = QCoreApplication::translate(kLowerTextContext, source.constData());
    return translated != text;
}

// A text with a number put in for its "%1" ("Строка 12 файла Touchstone не читается"): the
// first run of digits is taken for it.
bool LookupWithNumber(const QString& line, QString& translated) {
    qsizetype start = 0;
    while (start < line.size() && !line[start].isDigit()) {
        ++start;
    }
    if (start == line.size()) {
        return false;
    }
    qsizetype end = start;
    while (end < line.size() && line[end].isDigit()) {
        ++end;
    }
    QString marked = line;
    marked.replace(start, end - start, QStringLiteral("%1"));
    if (!Lookup(marked, translated)) {
        return false;
    }
    translated = translated.arg(line.mid(start, end - start));
    return true;
}

QString ShownLine(const QString& line) {
    QString translated;
    if (Lookup(line, translated) || LookupWithNumber(line, translated)) {
        return translated;
    }
    // A known lead that ends in a space ("Данные сохранены в файл: ", "Резонанс "), the
    // longest first, and what follows it.
    for (qsizetype space = line.lastIndexOf(QLatin1Char(' ')); space > 0;
         space = line.lastIndexOf(QLatin1Char(' '), space - 1)) {
        if (Lookup(line.left(space + 1), translated)) {
            return translated + ShownLine(line.mid(space + 1));
        }
    }
    // "Lead: rest", with the lead known without its colon.
    const qsizetype colon = line.indexOf(QStringLiteral(": "));
    if (colon > 0 && Lookup(line.left(colon), translated)) {
        return translated + QStringLiteral(": ") + ShownLine(line.mid(colon + 2));
    }
    if (line.endsWith(QLatin1Char(':')) && Lookup(line.chopped(1), translated)) {
        return translated + QLatin1Char(':');
    }
    return line;
}

} // namespace

QString QtTranslationsFolder() {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool InstallQtRussian() {
    // One translator for the whole run: installing it twice would be harmless but wasteful.
    static QTranslator* installed = nullptr;
    if (installed == nullptr) {
        installed = Install(QStringLiteral("qtbase_ru"), QtTranslationsFolder());
    }
    return installed != nullptr;
}

bool InstallEnglish() {
    if (english == nullptr) {
        english = Install(QString::fromLatin1(kEnglishTranslation), QString());
    }
    return english != nullptr;
}

void RemoveEnglish() {
    if (english != nullptr) {
        QCoreApplication::removeTranslator(english);
        delete english;
        english = nullptr;
    }
}

QString ShownText(std::string_view text) {
    const QString whole = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    QString translated;
    if (english == nullptr || Lookup(whole, translated)) {
        return english == nullptr ? whole : translated;
    }
    // A message of several lines may be one known message and another appended: the longest
    // known run of lines is taken first, then single lines. Line ends stay as they are.
    static const QString kLineEnd = QStringLiteral("\r\n");
    const QStringList lines = whole.split(kLineEnd);
    QStringList shown;
    for (qsizetype first = 0; first < lines.size();) {
        qsizetype end = lines.size();
        for (; end > first + 1; --end) {
            if (Lookup(lines.mid(first, end - first).join(kLineEnd), translated)) {
                shown << translated;
                break;
            }
        }
        if (end == first + 1) {
            shown << ShownLine(lines[first]);
        }
        first = end;
    }
    return shown.join(kLineEnd);
}

QString ShownCause(const Rejection& cause) {
    QString text = ShownText(cause.text);
    text.replace(QStringLiteral("%1"), QString::number(cause.line));
    text.replace(QStringLiteral("%2"), QString::number(cause.field));
    return text;
}

} // namespace lobex
