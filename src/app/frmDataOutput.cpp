// The main window's output commands: graphs to the clipboard, the printer and files, and
// pictures of the windows.
#include "PictureBox.h"
#include "Turntable.h"
#include "View3DHost.h"
#include "View3DWidget.h"
#include "core/AtomicFile.h"
#include "core/FileDialogs.h"
#include "dialogs/frmChoice.h"
#include "dialogs/frmJPEG.h"
#include "frmD3D.h"
#include "frmData.h"
#include "frmPolar.h"
#include "graphs/GraphCommands.h"
#include "graphs/GraphOutput.h"
#include "images/ImageWriter.h"
#include "images/SaveChoices.h"
#include "images/SystemInfo.h"
#include "platform/QtTranslations.h"
#include "plotter/PlotOutput.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDateTime>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include <span>

namespace lobex {
namespace {

constexpr const char* kGraphCopied = QT_TRANSLATE_NOOP("lobex", "График скопирован в память.");
constexpr const char* kGraphCopyFailed = QT_TRANSLATE_NOOP("lobex", "Ошибка копирования графика");
constexpr const char* kGraphPrintFailed = QT_TRANSLATE_NOOP("lobex", "Ошибка печати графика");
constexpr const char* kGraphSaveFailed = QT_TRANSLATE_NOOP("lobex", "Ошибка сохранения графика");
constexpr const char* kScreenCopied = QT_TRANSLATE_NOOP("lobex", "Экран скопирован в память.");
constexpr const char* kScreenSaveFailed = QT_TRANSLATE_NOOP("lobex", "Ощибка записи в файл");
constexpr const char* kCaptureSaved = QT_TRANSLATE_NOOP("lobex", "Снимок экрана сохранён в файл: ");
constexpr const char* kUnknownExtension =
    QT_TRANSLATE_NOOP("lobex", "Файл не сохранён: программа не пишет файлы такого типа");
constexpr const char* kKnownExtensions = QT_TRANSLATE_NOOP("lobex", "Можно сохранить как");

// The filter entry the typed name asks for: its extension decides, the filter's choice when
// it has none; 0 after a message when it names a type the save does not write.
int IndexOfTypedName(int chosen, const std::string& path, std::span<const NamedFormat> offered,
                     MessageService& messages, const std::string& caption) {
    if (chosen == 0) {
        return 0;
    }
    const FormatOfName named = FormatForFileName(path, offered, chosen);
    if (named.index == 0) {
        messages.Show(std::string(kUnknownExtension) + "\r\n" + path + "\r\n" + kKnownExtensions +
                          ": " + OfferedExtensions(offered),
                      MessageIcon::Information, caption);
    }
    return named.index;
}

} // namespace

int frmData::AskGraphChoice() {
    frmChoice choice(this);
    choice.exec();
    return choice.Chosen();
}

bool frmData::CopyControlToClipboard(QWidget& control) {
    const QImage picture = WidgetPicture(control);
    if (picture.isNull()) {
        return false;
    }
    QGuiApplication::clipboard()->setImage(picture);
    return true;
}

bool frmData::Copy3DViewToClipboard(QWidget& control) {
    if (!state_.View.View3DActive) {
        return true;
    }
    // A still picture: the turn waits while it is taken.
    const bool rotating = chk3DRotate->isChecked();
    view3D_->SetAutoRotate(false);
    const bool copied = CopyControlToClipboard(control);
    if (d3d_) {
        d3d_->raise();
    }
    view3D_->SetAutoRotate(rotating);
    return copied;
}

// Where the 3D view is shown: the big window's picture box while that is open, else the view
// itself, which stands in the main window's picture box.
QWidget& frmData::View3DPictureBox() {
    if (d3d_) {
        return *d3d_->Target();
    }
    if (view3D_->Widget() != nullptr) {
        return *view3D_->Widget();
    }
    return *picPlot;
}

void frmData::mnuFileGraphCopy_Click() {
    QGuiApplication::clipboard()->clear();
    bool copied = false;
    if (state_.View.View3DActive) {
        copied = Copy3DViewToClipboard(View3DPictureBox());
    } else {
        const int chosen = state_.View.PatternShown ? AskGraphChoice() : 0;
        copied = CopyGraph(link_, state_, chosen);
    }
    if (copied) {
        services_.messages.Show(kGraphCopied, MessageIcon::Information, state_.AppTitle);
    } else {
        services_.messages.Show(kGraphCopyFailed, MessageIcon::Critical, state_.AppTitle);
    }
}

void frmData::mnuFileGraphPrint_Click() {
    if (state_.View.View3DActive) {
        services_.messages.Show(
            QT_TRANSLATE_NOOP("lobex",
                              "Вывод 3D моделей на печать в данной версии не поддерживается"),
            MessageIcon::Information, state_.AppTitle);
        return;
    }
    if (!PrintGraph(link_, state_, shownFile_.empty() ? std::string("MMANA") : shownFile_)) {
        // The engine's reason, unless the user cancelled; a PDF file's names the file.
        std::string reason = link_.api.DPlot_LastError();
        const std::string_view failed = "printing failed: ";
        if (reason.starts_with(failed)) {
            reason.erase(0, failed.size());
        }
        const bool cancelled = reason.empty() || reason == "printing was cancelled";
        services_.messages.Show(std::string(kGraphPrintFailed) + (cancelled ? "" : "\r\n" + reason),
                                MessageIcon::Critical, state_.AppTitle);
    }
}

// A picture of part of the graph area as it shows, without the crosshair and the marks that
// are there for the screen only.
QImage frmData::GraphPicture(QWidget& source) {
    HostArea().SetOverlaysShown(false);
    QImage picture = WidgetPicture(source);
    HostArea().SetOverlaysShown(true);
    return picture;
}

void frmData::mnuFileGraphSave_Click() {
    const bool in3D = state_.View.View3DActive;
    const char* filter = in3D ? kGraphSave3DFilter : kGraphSaveFilter;
    const int index = IndexOfTypedName(
        OpenSaveFileDialog(state_, services_.settings, services_.dialogs, filter),
        state_.Paths.SaveFileName,
        in3D ? std::span<const NamedFormat>(kGraphSave3DFormats) : kGraphSaveFormats,
        services_.messages, state_.AppTitle);
    const SaveFormat format =
        GraphSaveFormat(index, state_.View.View3DActive, state_.View.PatternShown);
    if (format.format.empty()) {
        return;
    }
    if (format.showJpegOptions) {
        frmJPEG options(services_.settings, jpeg_, this);
        options.exec();
    }
    const int chosen = format.showGraphChoice ? AskGraphChoice() : 0;

    const std::string& path = state_.Paths.SaveFileName;
    bool saved = false;
    std::string reason;
    if (format.format == kModelFormat) {
        saved = Save3DModel(path, &reason);
    } else if (format.format == kTurntableFormat) {
        saved = Save3DTurntable(path, &reason);
    } else if (format.format == kFrequencyGifFormat) {
        const auto* nec = std::get_if<NecOutput>(state_.Loaded.Document.get());
        if (nec == nullptr || NecPatternCount(*nec) < 2 || !view3D_->View().DrawnMesh) {
            services_.messages.Show(kNoFrequencyAnimation, MessageIcon::Information,
                                    state_.AppTitle);
            return;
        }
        saved = Save3DOverFrequency(path, &reason);
    } else if (state_.View.View3DActive) {
        const ImageResult result = WriteImageFile(WidgetPicture(View3DPictureBox()), format.format,
                                                  path, state_, jpeg_, gif_);
        saved = result.written;
        reason = result.error;
    } else if (VectorFormatCode(format.format)) {
        saved = SaveGraphAs(link_, state_, chosen, format.format, path);
        reason = graphs::QuotesWhole(path) ? link_.api.DPlot_LastError()
                                           : std::string("the name cannot be given to the file");
    } else if (state_.View.PatternShown || link_.Slots[kMainSlot].DocNum > 0) {
        // A picture of what the window shows: both diagrams with their labels, or the graph.
        QWidget* source = state_.View.PatternShown ? static_cast<QWidget*>(Host().fraPlot)
                                                   : static_cast<QWidget*>(Host().picPlot);
        const ImageResult result =
            WriteImageFile(GraphPicture(*source), format.format, path, state_, jpeg_, gif_);
        saved = result.written;
        reason = result.error;
    } else {
        reason = "no graph is shown";
    }
    if (!saved) {
        services_.messages.Show(WithCause(kGraphSaveFailed, path, reason), MessageIcon::Critical,
                                state_.AppTitle);
    }
}

// Prints what the graph area shows, as it shows it.
void frmData::cmdPrint_Click() {
    const QImage picture = GraphPicture(*Host().fraPlot);
    QPrinter printer(QPrinter::HighResolution);
    if (!ChoosePrinter || !ChoosePrinter(printer)) {
        return;
    }
    QPainter painter;
    if (picture.isNull() || !painter.begin(&printer)) {
        services_.messages.Show("Printing error: the printer could not be started",
                                MessageIcon::Critical, "Printing Error");
        return;
    }
    // The file and its figures over the picture, as text.
    QRect page = painter.viewport();
    const std::vector<std::string> heading =
        PrintHeading(link_, state_, shownFile_.empty() ? std::string("MMANA") : shownFile_);
    page.setTop(page.top() +
                static_cast<int>(plotter::PaintPrintHeading(
                    painter, heading, QRectF(QPointF(0, 0), page.size()), printer.resolution())));
    const QSize size = picture.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.setViewport(page.x(), page.y(), size.width(), size.height());
    painter.setWindow(picture.rect());
    painter.drawImage(0, 0, picture);
    painter.end();
}

void frmData::BringViewWindowsToFront() {
    if (d3d_) {
        d3d_->raise();
        d3d_->activateWindow();
    }
    if (polar_) {
        polar_->raise();
        polar_->activateWindow();
    }
}

// The program's window the user works in: the active one, else the window last brought to the
// front (the polar window, then the 3D window), else the main window. While the 3D window is
// open the main window is minimised, so the 3D window stands for it.
QWidget* frmData::ActiveProgramWindow() {
    QWidget* active = QApplication::activeWindow();
    if ((active == this && !d3d_) || (polar_ && active == polar_.get()) ||
        (d3d_ && active == d3d_.get())) {
        return active;
    }
    if (polar_) {
        return polar_.get();
    }
    if (d3d_) {
        return d3d_.get();
    }
    return this;
}

bool frmData::CaptureActiveWindow(const std::string& path) {
    BringViewWindowsToFront();
    QCoreApplication::processEvents();
    WaitMilliseconds(500);
    capture_ = WidgetPicture(*ActiveProgramWindow());
    if (capture_.isNull()) {
        services_.messages.Show("Error capturing active window: the window could not be read",
                                MessageIcon::Critical, state_.AppTitle);
        return false;
    }
    QGuiApplication::clipboard()->setImage(capture_);
    QCoreApplication::processEvents();
    if (!path.empty()) {
        const ImageResult result = WriteImageFile(capture_, "bmp", path, state_, jpeg_, gif_);
        if (!result.written) {
            services_.messages.Show("Error capturing active window\r\n" + path + ": " +
                                        result.error,
                                    MessageIcon::Critical, state_.AppTitle);
            return false;
        }
    }
    return true;
}

// A new picture in the user's pictures folder each time; the status line says where.
void frmData::cmdCapture_Click() {
    const std::string path = CaptureFilePath(UserPicturesFolder(), QDateTime::currentDateTime());
    if (CaptureActiveWindow(path)) {
        lblStatus->setText(ShownText(kCaptureSaved) + QString::fromStdString(path));
    }
}

void frmData::mnuFileScreenCopy_Click() {
    QGuiApplication::clipboard()->clear();
    BringViewWindowsToFront();
    WaitMilliseconds(500);
    if (CaptureActiveWindow("")) {
        services_.messages.Show(kScreenCopied, MessageIcon::Information, state_.AppTitle);
    }
}

void frmData::mnuFileScreenSave_Click() {
    const int index = IndexOfTypedName(
        OpenSaveFileDialog(state_, services_.settings, services_.dialogs, kScreenSaveFilter),
        state_.Paths.SaveFileName, kScreenSaveFormats, services_.messages, state_.AppTitle);
    const SaveFormat format = ScreenSaveFormat(index);
    if (format.format.empty()) {
        return;
    }
    if (format.showJpegOptions) {
        frmJPEG options(services_.settings, jpeg_, this);
        options.exec();
    }
    // The dialogs must be gone from the screen before it is read.
    WaitMilliseconds(200);
    const std::string& path = state_.Paths.SaveFileName;
    if (!CaptureActiveWindow("")) {
        services_.messages.Show(WithCause(kScreenSaveFailed, path, "the window could not be read"),
                                MessageIcon::Critical, state_.AppTitle);
        return;
    }
    const ImageResult result = WriteImageFile(capture_, format.format, path, state_, jpeg_, gif_);
    QGuiApplication::clipboard()->clear();
    if (!result.written) {
        services_.messages.Show(WithCause(kScreenSaveFailed, path, result.error),
                                MessageIcon::Critical, state_.AppTitle);
    }
}

} // namespace lobex
