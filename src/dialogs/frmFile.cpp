#include "frmFile.h"

#include "Placement.h"
#include "core/FileDialogs.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace lobex {
namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

frmFile::frmFile(AppState& state, SettingsStore& settings, MessageService& messages,
                 QWidget* mainWindow)
    : QDialog(mainWindow), state_(state), settings_(settings), messages_(messages),
      mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("frmFile"));
    setWindowTitle(QStringLiteral("Open File"));
    setModal(true);
    resize(640, 420);

    txtFile = new QLineEdit(this);
    txtFile->setObjectName(QStringLiteral("txtFile"));

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::StyledPanel);
    lstDrive = new QComboBox(Frame1);
    lstDrive->setObjectName(QStringLiteral("lstDrive"));
    lstDir = new QListWidget(Frame1);
    lstDir->setObjectName(QStringLiteral("lstDir"));
    lstFile = new QListWidget(Frame1);
    lstFile->setObjectName(QStringLiteral("lstFile"));
    lstFile->setSelectionMode(QAbstractItemView::SingleSelection);

    auto* left = new QVBoxLayout;
    left->addWidget(lstDrive);
    left->addWidget(lstDir, 1);
    auto* frameLayout = new QHBoxLayout(Frame1);
    frameLayout->addLayout(left, 1);
    frameLayout->addWidget(lstFile, 1);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    // Return belongs to the text box (open a typed folder or file) and the file list.
    cmdOK->setAutoDefault(false);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtFile);
    layout->addWidget(Frame1, 1);
    layout->addLayout(buttons);

    connect(lstDrive, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &frmFile::lstDrive_Change);
    connect(lstDir, &QListWidget::itemActivated, this, &frmFile::lstDir_Change);
    connect(lstFile, &QListWidget::itemClicked, this, &frmFile::lstFile_Click);
    connect(lstFile, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        lstFile->setCurrentItem(item);
        cmdOK_Click();
    });
    connect(txtFile, &QLineEdit::returnPressed, this, &frmFile::txtFile_Enter);
    connect(cmdOK, &QPushButton::clicked, this, &frmFile::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmFile::cmdCancel_Click);

    Form_Load();
}

void frmFile::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PlaceOverMainWindow(*this, mainWindow_);
}

void frmFile::Form_Load() {
    state_.Paths.DataPath = LastDataFolder(state_, settings_);
    FillDrives();
    SetFolder(FromUtf8(state_.Paths.DataPath));
}

void frmFile::FillDrives() {
    fillingDrives_ = true;
    lstDrive->clear();
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady()) {
            roots << QDir::toNativeSeparators(volume.rootPath());
        }
    }
    roots.removeDuplicates();
    std::sort(roots.begin(), roots.end());
    for (const QString& root : roots) {
        lstDrive->addItem(root, root);
    }
    fillingDrives_ = false;
}

QString frmFile::WithSeparator(const QString& folder) const {
    if (folder.endsWith(QLatin1Char('\\')) || folder.endsWith(QLatin1Char('/'))) {
        return folder;
    }
    return folder + QDir::separator();
}

void frmFile::SetFolder(const QString& folder) {
    const QFileInfo info(folder);
    if (!info.isDir()) {
        return;
    }
    folder_ = QDir::toNativeSeparators(QDir::cleanPath(info.absoluteFilePath()));

    // The volume holding the folder: the longest mount point it lies under.
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < lstDrive->count(); ++i) {
        const QString root = lstDrive->itemData(i).toString();
        if (WithSeparator(folder_).startsWith(WithSeparator(root)) && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    if (best >= 0 && best != lstDrive->currentIndex()) {
        fillingDrives_ = true;
        lstDrive->setCurrentIndex(best);
        fillingDrives_ = false;
    }
    FillFolders();

    lstFile->clear();
    const QDir dir(folder_);
    // MMANA's exports, and the Touchstone files of network analysers that open as sweeps.
    lstFile->addItems(dir.entryList({QStringLiteral("*.csv"), QStringLiteral("*.s1p")}, QDir::Files,
                                    QDir::Name | QDir::IgnoreCase));
    lstFile_PathChange();
}

// The folder list shows the way down from the volume to the listed folder, then the folders
// inside it; the path of each entry is its item data.
void frmFile::FillFolders() {
    lstDir->clear();
    const QStyle* style = this->style();
    const QIcon open = style->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style->standardIcon(QStyle::SP_DirClosedIcon);
    QStringList chain;
    for (QDir dir(folder_);;) {
        chain.prepend(dir.absolutePath());
        if (dir.isRoot() || !dir.cdUp()) {
            break;
        }
    }
    int depth = 0;
    for (const QString& path : chain) {
        const QString name =
            depth == 0 ? QDir::toNativeSeparators(path) : QFileInfo(path).fileName();
        auto* item = new QListWidgetItem(open, QString(depth * 3, QLatin1Char(' ')) + name, lstDir);
        item->setData(Qt::UserRole, path);
        ++depth;
    }
    lstDir->setCurrentRow(lstDir->count() - 1);
    const QStringList children =
        QDir(folder_).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& child : children) {
        auto* item =
            new QListWidgetItem(closed, QString(depth * 3, QLatin1Char(' ')) + child, lstDir);
        item->setData(Qt::UserRole, QDir(folder_).filePath(child));
    }
}

void frmFile::lstDrive_Change(int index) {
    if (fillingDrives_ || index < 0) {
        return;
    }
    const QString root = lstDrive->itemData(index).toString();
    if (QFileInfo(root).isReadable()) {
        SetFolder(root);
    } else if (lstDrive->count() > 0 && index != 0) {
        // A volume that cannot be read sends the lists back to the first one.
        lstDrive->setCurrentIndex(0);
    }
}

void frmFile::lstDir_Change(QListWidgetItem* item) {
    if (item != nullptr) {
        SetFolder(item->data(Qt::UserRole).toString());
    }
}

void frmFile::lstFile_PathChange() {
    txtFile->setText(WithSeparator(folder_));
}

void frmFile::lstFile_Click() {
    if (QListWidgetItem* item = lstFile->currentItem()) {
        txtFile->setText(WithSeparator(folder_) + item->text());
    }
}

void frmFile::txtFile_Enter() {
    const QFileInfo typed(txtFile->text());
    if (typed.isDir()) {
        SetFolder(typed.absoluteFilePath());
    } else {
        cmdOK_Click();
    }
}

bool frmFile::ChooseFile(const QString& path) {
    state_.Loaded.CurrentFile = QDir::toNativeSeparators(path).toStdString();
    WriteSetting(settings_, kDataPathSetting, state_.Paths.DataPath);
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension.startsWith(QLatin1String("pf"))) {
        messages_.Show("PF file format is not supported in this version", MessageIcon::Information,
                       state_.AppTitle);
        state_.Loaded.CurrentFile.clear();
        return false;
    }
    return true;
}

void frmFile::cmdOK_Click() {
    // The folder keeps its letter case: case-sensitive file systems need it.
    state_.Paths.DataPath = WithSeparator(folder_).toStdString();
    if (QListWidgetItem* item = lstFile->currentItem(); item != nullptr && item->isSelected()) {
        ChooseFile(FromUtf8(state_.Paths.DataPath) + item->text());
    } else {
        // A file typed into the text box counts as chosen too.
        const QFileInfo typed(txtFile->text());
        if (typed.isFile()) {
            state_.Paths.DataPath =
                WithSeparator(QDir::toNativeSeparators(typed.absolutePath())).toStdString();
            ChooseFile(typed.absoluteFilePath());
        }
    }
    accept();
}

void frmFile::cmdCancel_Click() {
    state_.Loaded.CurrentFile.clear();
    state_.Paths.SaveFileName.clear();
    reject();
}

} // namespace lobex
