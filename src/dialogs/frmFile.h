#pragma once

#include "core/AppState.h"
#include "core/Services.h"

#include <QDialog>
#include <QString>

class QComboBox;
class QFrame;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace lobex {

// The program's own window for opening data files: a volume list, a folder tree, the list of
// ".csv" and ".s1p" files in the folder and a text box with the choice. It remembers the data
// folder and leaves the chosen file in CurrentFile (empty when nothing was chosen).
class frmFile : public QDialog {
    Q_OBJECT
public:
    frmFile(AppState& state, SettingsStore& settings, MessageService& messages,
            QWidget* mainWindow);

    // The folder whose files are listed.
    QString FolderPath() const { return folder_; }
    void SetFolder(const QString& folder);
    // Shows the listed folder in the text box.
    void lstFile_PathChange();

public slots:
    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void FillDrives();
    void FillFolders();
    void lstDrive_Change(int index);
    void lstDir_Change(QListWidgetItem* item);
    void lstFile_Click();
    void txtFile_Enter();
    QString WithSeparator(const QString& folder) const;
    bool ChooseFile(const QString& path);

    AppState& state_;
    SettingsStore& settings_;
    MessageService& messages_;
    QWidget* mainWindow_ = nullptr;
    QString folder_;
    bool fillingDrives_ = false;

    QFrame* Frame1 = nullptr;
    QLineEdit* txtFile = nullptr;
    QComboBox* lstDrive = nullptr;
    QListWidget* lstDir = nullptr;
    QListWidget* lstFile = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
};

} // namespace lobex
