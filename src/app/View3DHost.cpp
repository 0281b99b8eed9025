#include "View3DHost.h"

#include "core/AppState.h"
#include "core/Services.h"
#include "graphs/DifferenceGraph.h"
#include "view3d/AntennaLoader.h"
#include "view3d/PatternModel.h"
#include "view3d/SurfaceReadout.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QSpinBox>
#include <QTimer>

#include <cmath>
#include <numbers>

namespace lobex {

namespace {

// Where the machine keeps that it was told its 3D view draws in software.
constexpr std::string_view kNoticeSection = "View3D";
constexpr std::string_view kNoticeKey = "SoftwareNoticeShown";

} // namespace

View3DHost::View3DHost(AppState& state, MessageService& messages, SettingsStore& settings,
                       QTimer& timer)
    : state_(state), messages_(messages), settings_(settings), timer_(timer) {
    connect(&timer_, &QTimer::timeout, this, &View3DHost::Tick3D);
}

void SetUpGainControls(QCheckBox& colours, QSpinBox& range) {
    colours.setText(QCoreApplication::translate("lobex", "Цвет усиления"));
    colours.setToolTip(
        QCoreApplication::translate("lobex", "Раскрасить диаграмму по усилению, со шкалой в dBi"));
    range.setRange(static_cast<int>(kLeastGainRangeDb), static_cast<int>(kMostGainRangeDb));
    range.setSingleStep(5);
    range.setValue(static_cast<int>(kDefaultGainRangeDb));
    range.setSuffix(QCoreApplication::translate("lobex", " дБ"));
    range.setToolTip(QCoreApplication::translate(
        "lobex", "Нижний край шкалы цветов: на сколько дБ ниже максимума"));
}

void SetUpPhaseControl(QCheckBox& phase) {
    phase.setText(QCoreApplication::translate("lobex", "Фаза"));
    phase.setToolTip(QCoreApplication::translate(
        "lobex", "Показать мгновенный ток вдоль проводов в движении, по фазе"));
}

View3DHost::~View3DHost() {
    delete widget_;
}

bool View3DHost::Start3DView(QWidget* parent, const QFont& textFont, const QFont& axisFont) {
    const bool first = !probed_;
    if (first) {
        probed_ = Probe();
    }
    const GlDevice device = *probed_;
    if (device == GlDevice::None) {
        // Ending the program would lose the user's data: the view just stays unavailable.
        messages_.Show(kNoDeviceMessage, MessageIcon::Critical, state_.AppTitle);
        return false;
    }
    if (device == GlDevice::Software && first) {
        // A machine without a driver stays without one: the box once, then the status line.
        if (settings_.GetSetting(kNoticeSection, kNoticeKey, "0") != "1") {
            messages_.Show(kSoftwareDeviceMessage, MessageIcon::Information, state_.AppTitle);
            settings_.SaveSetting(kNoticeSection, kNoticeKey, "1");
        } else {
            emit StatusNotice(QCoreApplication::translate("lobex", kSoftwareDeviceNotice));
        }
    }
    device_ = device == GlDevice::Software ? DeviceKind::Software : DeviceKind::Hardware;

    // Every start makes a new device and scene.
    delete widget_;
    scene_ = View3DScene{};
    scene_.Context.ForceOpaqueMaterials = true;
    view_.CameraMatrix = MatrixIdentity();
    ResetCamera(view_);
    // The mesh made when the pattern was prepared: the model file is not read back.
    CreateSceneFrames(scene_, view_.DrawnMesh);
    BuildCurrentTubes(scene_, view_);
    if (view_.WiresVisible && view_.AntennaLoaded) {
        BuildFeedMarkers(scene_, view_.Antenna);
    }
    widget_ = new View3DWidget(scene_, view_, state_, parent);
    widget_->SetFonts(textFont, axisFont);
    connect(widget_, &View3DWidget::MousePressed, this, [this](Qt::MouseButton button, QPointF at) {
        if (state_.View.View3DActive && button != Qt::RightButton) {
            view_.MouseDragging = true;
            view_.LastMouseX = static_cast<float>(at.x());
            view_.LastMouseY = static_cast<float>(at.y());
        }
    });
    connect(widget_, &View3DWidget::MouseReleased, this, [this](Qt::MouseButton, QPointF) {
        if (state_.View.View3DActive) {
            view_.MouseDragging = false;
            Wake();
        }
    });
    connect(widget_, &View3DWidget::MouseMoved, this, [this](Qt::MouseButtons buttons, QPointF at) {
        if (!state_.View.View3DActive || buttons == Qt::RightButton) {
            return;
        }
        // A pointer passing over a still view changes only the read-out, not the picture.
        if (view_.MouseDragging) {
            TurnScene(scene_,
                      MouseRotate(view_, static_cast<float>(at.x()), static_cast<float>(at.y())));
            Step();
        } else {
            ReadSurfaceAt(at);
        }
    });
    connect(widget_, &View3DWidget::KeyPressed, this, &View3DHost::KeyDown);
    connect(widget_, &View3DWidget::KeyReleased, this,
            [this](int key, Qt::KeyboardModifiers) { KeyUp(key); });
    connect(widget_, &View3DWidget::DoubleClicked, this, &View3DHost::DoubleClicked);

    qApp->installEventFilter(this);
    state_.View.View3DActive = true;
    paused_ = false;
    clock_(kClockStart);
    clock_(kClockElapsedTime);
    Wake();
    return true;
}

bool View3DHost::ReadCurrentAt(QPointF at) {
    if (view_.Currents.empty() || !scene_.RootFrame || widget_ == nullptr) {
        return false;
    }
    const ViewCamera camera = CameraFor(view_, widget_->width(), widget_->height());
    const ViewTransform transform{scene_.RootFrame->GetMatrix(), camera.View, camera.Projection,
                                  widget_->width(), widget_->height()};
    const auto pick = PickCurrentPoint(CurrentScenePaths(view_.Currents), transform,
                                       static_cast<float>(at.x()), static_cast<float>(at.y()));
    if (!pick) {
        return false;
    }
    const CurrentUnit unit = ChooseCurrentUnit(LargestCurrent(view_.Currents));
    const auto word = [](const char* text) {
        return QCoreApplication::translate("lobex", text).toStdString();
    };
    const std::string wire = word(QT_TRANSLATE_NOOP("lobex", "Провод"));
    const std::string point = word(QT_TRANSLATE_NOOP("lobex", "импульс"));
    const std::string phase = word(QT_TRANSLATE_NOOP("lobex", "фаза"));
    const std::string unitText = word(std::string(unit.Text).c_str());
    emit SurfaceReadout(QString::fromStdString(CurrentReadingText(
        view_.Currents, *pick, unit, state_.DecimalSeparator, {wire, point, phase, unitText})));
    return true;
}

void View3DHost::ReadSurfaceAt(QPointF at) {
    if (ReadCurrentAt(at)) {
        return;
    }
    std::optional<SurfaceReading> reading;
    if (view_.PatternVisible && scene_.RootFrame && widget_ != nullptr) {
        const ViewCamera camera = CameraFor(view_, widget_->width(), widget_->height());
        const ViewTransform transform{scene_.RootFrame->GetMatrix(), camera.View, camera.Projection,
                                      widget_->width(), widget_->height()};
        // The surface as drawn is hit; the gain is read from the whole grid.
        reading = ReadPatternSurface(view_.Drawn, state_.Loaded.FarField, transform,
                                     static_cast<float>(at.x()), static_cast<float>(at.y()),
                                     view_.DifferenceColours ? &view_.Compared : nullptr);
    }
    if (!reading) {
        emit SurfaceReadout(QString());
        return;
    }
    const std::string azimuth = QCoreApplication::translate("lobex", "Азимут").toStdString();
    const std::string elevation = QCoreApplication::translate("lobex", "Угол места").toStdString();
    emit SurfaceReadout(QString::fromStdString(
        SurfaceReadingText(*reading, state_.DecimalSeparator, {azimuth, elevation})));
}

void View3DHost::Stop3DView() {
    qApp->removeEventFilter(this);
    timer_.stop();
    clock_(kClockStop);
    state_.View.View3DActive = false;
    delete widget_;
    widget_ = nullptr;
    view_.MouseDragging = false;
}

void View3DHost::Tick3D() {
    if (widget_ == nullptr) {
        return;
    }
    const QWidget* window = widget_->window();
    const bool hidden = !widget_->isVisible() || window->isMinimized();
    if (hidden != paused_) {
        clock_(hidden ? kClockStop : kClockStart);
        paused_ = hidden;
    }
    if (!paused_) {
        Step();
    }
    if (!NeedsFrames(view_)) {
        timer_.stop();
    }
}

void View3DHost::Wake() {
    if (widget_ != nullptr && !timer_.isActive() && NeedsFrames(view_)) {
        // The time the view stood still is not movement time.
        clock_(kClockElapsedTime);
        timer_.start();
    }
}

void View3DHost::Redraw() {
    if (widget_ != nullptr) {
        widget_->update();
    }
}

void View3DHost::SetAutoRotate(bool on) {
    view_.AutoRotate = on;
    Wake();
}

void View3DHost::ApplyDifference() {
    const FarFieldGrid* compared = state_.Compare.Difference ? ComparedGrid(state_) : nullptr;
    HideDifference(view_);
    if (compared != nullptr && view_.DrawnMesh) {
        const std::string_view refusal = ShowDifference(view_, state_.Loaded.FarField, *compared);
        if (!refusal.empty()) {
            messages_.Show(refusal, MessageIcon::Information, state_.AppTitle);
            state_.Compare.Difference = false;
        }
    }
    Redraw();
}

void View3DHost::SetGainColours(bool on) {
    view_.GainColours = on;
    Redraw();
}

void View3DHost::SetGainRange(int decibels) {
    view_.GainRangeDb = static_cast<float>(decibels);
    Redraw();
}

void View3DHost::SetSharedScale(bool on) {
    view_.SharedScale = on;
    TakeSharedScale(view_, state_.Loaded.Document.get());
    Redraw();
}

bool View3DHost::ReplacePattern() {
    View3DContext model{state_, view_, messages_};
    if (!PreparePatternModel(model, PatternShown::Next)) {
        return false;
    }
    // Each surface reaches 1 along its largest coordinate, so the framing nearly holds the new
    // one: it stays, widened only as far as the new surface needs.
    WidenFraming(view_);
    ReplacePatternMesh(scene_, view_.DrawnMesh);
    ApplyDifference();
    return true;
}

void View3DHost::SetCurrents(CurrentWires currents) {
    view_.Currents = std::move(currents);
    view_.CurrentPhase = 0.0;
    // A running view (stepping through a NEC-2 output's frequencies) shows them at once.
    if (widget_ != nullptr) {
        BuildCurrentTubes(scene_, view_);
        Redraw();
        Wake();
    }
}

void View3DHost::SetCurrentPhase(bool on) {
    view_.CurrentPhaseOn = on;
    view_.CurrentPhase = 0.0;
    ColourCurrentTubes(scene_, view_);
    Redraw();
    Wake();
}

void View3DHost::SetWireframe(bool on) {
    view_.Wireframe = on;
    Redraw();
}

void View3DHost::HoldStill(const std::function<void()>& work) {
    if (holding_) {
        work();
        return;
    }
    struct Hold {
        View3DHost& host;
        bool rotating = host.view_.AutoRotate;
        bool running = !host.paused_;
        Hold(View3DHost& held) : host(held) {
            host.holding_ = true;
            host.view_.AutoRotate = false;
            if (running) {
                host.clock_(kClockStop);
            }
        }
        ~Hold() {
            if (running) {
                host.clock_(kClockStart);
            }
            host.view_.AutoRotate = rotating;
            host.holding_ = false;
            host.Wake();
        }
    } hold(*this);
    work();
}

void View3DHost::KeyDown(int key, Qt::KeyboardModifiers modifiers) {
    if (!state_.View.View3DActive) {
        return;
    }
    const bool modifierHeld =
        (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) != 0;
    if (KeyDown3D(view_, VirtualKey(key), modifierHeld)) {
        emit AntennaRequested();
    }
    Wake();
}

void View3DHost::KeyUp(int key) {
    if (state_.View.View3DActive) {
        const int code = VirtualKey(key);
        KeyUp3D(view_, code);
        if (code == vk::F6) {
            // Back to the view as it started: the turns of drags and of the rotation undone.
            ResetTurn(scene_);
        }
        Redraw();
    }
}

bool View3DHost::OpenAntenna(SettingsStore& settings, FileDialogService& dialogs) {
    // A key press queued before the dialog took the keyboard asks again from inside it.
    if (askingAntenna_) {
        return false;
    }
    askingAntenna_ = true;
    const bool loaded =
        OpenAntennaDescription({state_, view_, scene_, settings, dialogs, messages_});
    askingAntenna_ = false;
    Redraw();
    return loaded;
}

bool View3DHost::LoadAntenna(const std::string& path) {
    const bool loaded = LoadAntennaFile(state_, view_, scene_, messages_, path);
    Redraw();
    return loaded;
}

bool View3DHost::eventFilter(QObject* watched, QEvent* event) {
    const bool press = event->type() == QEvent::KeyPress;
    if ((!press && event->type() != QEvent::KeyRelease) || widget_ == nullptr ||
        !watched->isWidgetType()) {
        return false;
    }
    // Once per key: to the widget with the focus (or the window when nothing has it), not again
    // as the event travels up to the parents; the view's own keys come through its signals.
    auto* target = static_cast<QWidget*>(watched);
    const QWidget* focus = QApplication::focusWidget();
    const bool first = target == focus || (focus == nullptr && target->isWindow());
    if (!first || target == widget_ || target->window() != widget_->window()) {
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->isAutoRepeat()) {
        return false;
    }
    if (press) {
        KeyDown(key->key(), key->modifiers());
    } else {
        KeyUp(key->key());
    }
    return false;
}

void View3DHost::Step() {
    const float elapsed = clock_(kClockElapsedTime);
    TurnScene(scene_, UpdateCamera(view_, elapsed, device_));
    if (view_.CurrentPhaseOn && scene_.CurrentTubes && elapsed > 0.0f) {
        view_.CurrentPhase =
            std::fmod(view_.CurrentPhase + kCurrentPhaseRate * elapsed, 2.0 * std::numbers::pi);
        ColourCurrentTubes(scene_, view_);
    }
    widget_->update();
}

} // namespace lobex
