#pragma once

#include "View3DWidget.h"
#include "scene/FrameClock.h"
#include "view3d/View3DState.h"
#include "view3d/ViewControl.h"
#include "view3d/ViewScene.h"

#include <QObject>

class QCheckBox;
class QSpinBox;

#include <functional>
#include <optional>

class QTimer;

namespace lobex {

struct AppState;
class MessageService;
class SettingsStore;
class FileDialogService;

inline constexpr const char* kSoftwareDeviceMessage = QT_TRANSLATE_NOOP(
    "lobex",
    "Ваша видеокарта не поддерживает нужный графический режим.\r\n"
    "Прорисовка будет выполняться программно, скорость работы уменьшится.\r\n"
    "Пустое черное окно будет являться индикацией неудачной попытки программной прорисовки.");
// What later starts on such a machine say in the status line, the box having been shown once.
inline constexpr const char* kSoftwareDeviceNotice = QT_TRANSLATE_NOOP(
    "lobex", "Прорисовка будет выполняться программно, скорость работы уменьшится.");
inline constexpr const char* kNoDeviceMessage = QT_TRANSLATE_NOOP(
    "lobex", "Обработка трехмерных изображений не поддерживается данным компьюьером.");

// Starts, runs and stops the 3D view in a place given by its window: picks the device, builds
// the scene from the model file, drives the frames from the window's timer and turns the
// view's input into the view logic's calls.
// The check box and the range of the gain colours, alike in both windows.
void SetUpGainControls(QCheckBox& colours, QSpinBox& range);
// The "Фаза" box of the currents, alike in both windows.
void SetUpPhaseControl(QCheckBox& phase);

class View3DHost : public QObject {
    Q_OBJECT
public:
    View3DHost(AppState& state, MessageService& messages, SettingsStore& settings, QTimer& timer);
    ~View3DHost() override;

    // Which OpenGL the machine offers; replaced to try the paths a machine without one takes.
    std::function<GlDevice()> Probe = ProbeOpenGL;

    // Creates the view as a child of parent, to be placed by the caller. False, after telling
    // the user, when the machine has no OpenGL the view can use.
    bool Start3DView(QWidget* parent, const QFont& textFont, const QFont& axisFont);
    void Stop3DView();
    // One frame of the timer: the camera and the turn, then a redraw. Paused while the view is
    // hidden or its window minimised. The timer runs only while the view moves by itself
    // (NeedsFrames): a still view draws nothing until an input or a choice changes it.
    void Tick3D();

    View3DState& View() { return view_; }
    View3DScene& Scene() { return scene_; }
    View3DWidget* Widget() const { return widget_; }
    DeviceKind Device() const { return device_; }
    bool Paused() const { return paused_; }
    void SetAutoRotate(bool on);
    void SetGainColours(bool on);
    // Colours the pattern by B − A while "Разность" is on and a far field is compared, else
    // as chosen; a refusal is told and turns "Разность" off. Runs again for each new surface.
    void ApplyDifference();
    void SetGainRange(int decibels);
    // "Общая шкала": one gain colour scale over all the patterns of the document on show.
    void SetSharedScale(bool on);
    // The pattern the state now holds (another frequency of the output) takes the drawn one's
    // place; the camera, its framing, the turn and the flags stay. False, after telling the user,
    // when its surface cannot be made: the old one stays.
    bool ReplacePattern();
    void SetWireframe(bool on);
    // The currents the view draws on the wires (none: empty): at once in a running view, else
    // from the next start on.
    void SetCurrents(CurrentWires currents);
    // "Фаза": animates the instantaneous current along the wires while on.
    void SetCurrentPhase(bool on);

    // Runs work with the automatic turn held and the clock stopped, so that the view does not
    // catch up afterwards on the time work took. A hold inside another changes nothing.
    void HoldStill(const std::function<void()>& work);

    // A key over the view or anywhere else in the view's window (held-key table, F2-F7); key is
    // a Qt key code.
    void KeyDown(int key, Qt::KeyboardModifiers modifiers);
    void KeyUp(int key);
    // Asks for an antenna description and shows it over the pattern. One dialog at a time: a
    // request while one is open is dropped.
    bool OpenAntenna(SettingsStore& settings, FileDialogService& dialogs);
    // Shows the antenna of a model file given without the dialog (the command line).
    bool LoadAntenna(const std::string& path);

signals:
    // A double click on the view.
    void DoubleClicked();
    // F2 with Shift, Ctrl or Alt: the user asks for an antenna description.
    void AntennaRequested();
    // The direction and gain of the pattern under the pointer, or an empty text off it.
    void SurfaceReadout(const QString& text);
    // A word for the status line.
    void StatusNotice(const QString& text);

protected:
    // Hands the keys of the view's window to the view whatever holds the focus there.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Step();
    // Starts the timer when the view has begun to move by itself.
    void Wake();
    // One frame for a change that moves nothing by itself (a choice, a toggle).
    void Redraw();
    void ReadSurfaceAt(QPointF at);
    // The wire, point and current under the pointer; false when no point is near it.
    bool ReadCurrentAt(QPointF at);

    AppState& state_;
    MessageService& messages_;
    SettingsStore& settings_;
    QTimer& timer_;
    View3DState view_;
    View3DScene scene_;
    FrameClock clock_;
    DeviceKind device_ = DeviceKind::Hardware;
    // What the first start found; later starts (the big window and back) keep to it.
    std::optional<GlDevice> probed_;
    View3DWidget* widget_ = nullptr;
    bool paused_ = false;
    bool holding_ = false;
    bool askingAntenna_ = false;
};

} // namespace lobex
