#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QSpinBox;
class QFrame;
class QLabel;
class QPushButton;

namespace lobex {

struct AppState;
class MessageService;

inline constexpr const char* kD3DCloseBoxMessage =
    QT_TRANSLATE_NOOP("lobex", "Чтобы закрыть окно, нажмите кнопку Выход.");

// The large window the 3D view moves into on a double click: the view on the left, the
// rotation and wireframe boxes and "Выход" on the right. Only "Выход" (or the program) closes it.
class frmD3D : public QWidget {
    Q_OBJECT
public:
    frmD3D(AppState& state, MessageService& messages);
    ~frmD3D() override;

    // Sizes the window to the screen, takes the main window's choices and raises it.
    void Form_Load(bool rotate, bool wire);
    // Where the view goes.
    QWidget* Target() const { return picPlot; }
    bool Rotate() const;
    bool Wire() const;
    // The program closes the window (the view's return, the exit).
    void UnloadByProgram();

    QCheckBox* chkRotate = nullptr;
    QCheckBox* chkWire = nullptr;
    QCheckBox* chkGain = nullptr;
    QSpinBox* spnGainRange = nullptr;
    // "Фаза", shown with the currents only.
    QCheckBox* chkPhase = nullptr;
    // "Общая шкала" and the frequency list of a NEC-2 output, shown for one only.
    QCheckBox* chkSharedScale = nullptr;
    QLabel* lblFrequency = nullptr;
    QComboBox* cmbFrequency = nullptr;
    // The direction and gain under the pointer.
    QLabel* lblReadout = nullptr;
    QPushButton* cmdClose = nullptr;

signals:
    void ExitClicked();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    AppState& state_;
    MessageService& messages_;
    QWidget* picPlot = nullptr;
    QFrame* Frame1 = nullptr;
    bool closingByProgram_ = false;
};

} // namespace lobex
