#include "View3DHost.h"

#include "core/AppState.h"
#include "core/Services.h"
#include "view3d/AntennaLoader.h"
#include "view3d/SurfaceReadout.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QSpinBox>
#include <QTimer>

namespace lobex {

View3DHost::View3DHost(AppState& state, MessageService& messages, QTimer& timer)
    : state_(state), messages_(messages), timer_(timer) {
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
        messages_.Show(kSoftwareDeviceMessage, MessageIcon::Information, state_.AppTitle);
    }
    device_ = device == GlDevice::Software ? DeviceKind::Software : DeviceKind::Hardware;

    // Every start makes a new device and scene.
    delete widget_;
    scene_ = View3DScene{};
    scene_.Context.ForceOpaqueMaterials = true;
    view_.CameraMatrix = MatrixIdentity();
    ResetCamera(view_);
    CreateSceneFrames(scene_, state_.Paths.TempModelFile);
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
        }
    });
    connect(widget_, &View3DWidget::MouseMoved, this, [this](Qt::MouseButtons buttons, QPointF at) {
        if (!state_.View.View3DActive || buttons == Qt::RightButton) {
            return;
        }
        if (view_.MouseDragging) {
            TurnScene(scene_,
                      MouseRotate(view_, static_cast<float>(at.x()), static_cast<float>(at.y())));
        } else {
            ReadSurfaceAt(at);
        }
        Step();
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
    timer_.start();
    return true;
}

void View3DHost::ReadSurfaceAt(QPointF at) {
    std::optional<SurfaceReading> reading;
    if (view_.PatternVisible && scene_.RootFrame && widget_ != nullptr) {
        const ViewTransform transform{scene_.RootFrame->GetMatrix(), ViewMatrix(view_),
                                      ProjectionMatrix(widget_->width(), widget_->height()),
                                      widget_->width(), widget_->height()};
        reading = ReadPatternSurface(view_.Pattern, state_.Loaded.FarField, transform,
                                     static_cast<float>(at.x()), static_cast<float>(at.y()));
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
}

void View3DHost::KeyUp(int key) {
    if (state_.View.View3DActive) {
        KeyUp3D(view_, VirtualKey(key));
        widget_->update();
    }
}

bool View3DHost::OpenAntenna(SettingsStore& settings, FileDialogService& dialogs) {
    const bool loaded =
        OpenAntennaDescription({state_, view_, scene_, settings, dialogs, messages_});
    if (widget_ != nullptr) {
        widget_->update();
    }
    return loaded;
}

bool View3DHost::LoadAntenna(const std::string& path) {
    const bool loaded = LoadAntennaFile(state_, view_, scene_, messages_, path);
    if (widget_ != nullptr) {
        widget_->update();
    }
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
    if (press) {
        KeyDown(key->key(), key->modifiers());
    } else if (!key->isAutoRepeat()) {
        KeyUp(key->key());
    }
    return false;
}

void View3DHost::Step() {
    TurnScene(scene_, UpdateCamera(view_, clock_(kClockElapsedTime), device_));
    widget_->update();
}

} // namespace lobex
