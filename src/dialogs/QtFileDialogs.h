#pragma once

#include "core/AppState.h"
#include "core/FileDialogs.h"
#include "core/Services.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

class QFileDialog;

namespace lobex {

// The file dialogs of the GUI: the program's own open window (frmFile) and the platform's
// save dialog.
class QtFileDialogs final : public FileDialogService {
public:
    QtFileDialogs(AppState& state, SettingsStore& settings, MessageService& messages)
        : state_(state), settings_(settings), messages_(messages) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    std::string ChooseDataFile(std::string_view caption) override;
    std::string AskOpenFile(std::string_view title, std::string_view filter,
                            std::string_view folder) override;
    SaveChoice AskSaveFile(std::string_view filter, std::string_view folder) override;

private:
    void Prepare(QFileDialog& dialog, const QStringList& filters);

    AppState& state_;
    SettingsStore& settings_;
    MessageService& messages_;
    QPointer<QWidget> parent_;
};

} // namespace lobex
