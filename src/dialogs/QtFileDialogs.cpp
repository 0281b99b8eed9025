#include "QtFileDialogs.h"

#include "frmFile.h"
#include "platform/QtTranslations.h"

#include <QDir>
#include <QFileDialog>
#include <QUrl>

namespace lobex {
namespace {

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Qt shows a filter as "description (patterns)"; ours already carry the patterns mostly.
QString QtFilterEntry(const std::string& description, const std::string& pattern) {
    if (description.find('(') != std::string::npos) {
        return ShownText(description);
    }
    return ShownText(description) + QStringLiteral(" (") + Q(pattern) + QLatin1Char(')');
}

// The ending a single-pattern entry gives a name typed without one ("*.png" -> "png").
QString SuffixOf(const std::string& pattern) {
    const std::size_t dot = pattern.find('.');
    if (dot == std::string::npos || pattern.find_first_of("*?;", dot) != std::string::npos) {
        return {};
    }
    return Q(std::string_view(pattern).substr(dot + 1));
}

// The filter entries of a "|"-separated filter as the dialog lists them.
QStringList QtFilters(const std::vector<std::pair<std::string, std::string>>& entries) {
    QStringList filters;
    for (const auto& [description, pattern] : entries) {
        filters << QtFilterEntry(description, pattern);
    }
    return filters;
}

} // namespace

// Open and save dialogs look and behave alike: the same filters, and the folders the user
// works in (where data files were last opened and where the last save went) one click away.
void QtFileDialogs::Prepare(QFileDialog& dialog, const QStringList& filters) {
    dialog.setNameFilters(filters);
    QList<QUrl> places = dialog.sidebarUrls();
    for (const std::string& folder :
         {LastDataFolder(state_, settings_),
          RememberedFolder(ReadSetting(settings_, kSavePathSetting), state_.Paths.AppFolder)}) {
        const QUrl url = QUrl::fromLocalFile(QDir::cleanPath(Q(folder)));
        if (!folder.empty() && !places.contains(url)) {
            places << url;
        }
    }
    dialog.setSidebarUrls(places);
}

std::string QtFileDialogs::ChooseDataFile(std::string_view caption) {
    state_.Loaded.CurrentFile.clear();
    frmFile window(state_, settings_, messages_, parent_.data());
    window.setWindowTitle(Q(caption));
    window.lstFile_PathChange();
    window.exec();
    return state_.Loaded.CurrentFile;
}

std::string QtFileDialogs::AskOpenFile(std::string_view title, std::string_view filter,
                                       std::string_view folder) {
    QFileDialog dialog(parent_.data(), Q(title), Q(folder));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    Prepare(dialog, QtFilters(ParseFileFilter(filter)));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return QDir::toNativeSeparators(dialog.selectedFiles().front()).toStdString();
}

SaveChoice QtFileDialogs::AskSaveFile(std::string_view filter, std::string_view folder) {
    const auto entries = ParseFileFilter(filter);
    const QStringList filters = QtFilters(entries);
    QFileDialog dialog(parent_.data(), QStringLiteral("Save File"), Q(folder));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    Prepare(dialog, filters);
    if (!filters.isEmpty()) {
        dialog.selectNameFilter(filters.front());
        dialog.setDefaultSuffix(SuffixOf(entries.front().second));
    }
    // The suffix is added before the dialog asks about overwriting, so the question is right.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, &filters, &entries](const QString& selected) {
                         const qsizetype index = filters.indexOf(selected);
                         if (index >= 0) {
                             dialog.setDefaultSuffix(
                                 SuffixOf(entries[static_cast<std::size_t>(index)].second));
                         }
                     });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    SaveChoice choice;
    choice.filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    choice.path = QDir::toNativeSeparators(dialog.selectedFiles().front()).toStdString();
    return choice;
}

} // namespace lobex
