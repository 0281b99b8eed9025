#pragma once

#include "core/AppState.h"
#include "session/DocumentSession.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QWidget;

namespace lobex {

// What of a NEC-2 output is on show: the part ("Диаграмма", "Частотные характеристики",
// "Токи", "Ближнее поле", those the output has), the frequency ("Частота:", when it has
// several), the keys that step through the frequencies ("[" and "]") and "Общая шкала" of the
// 3D view's gain colours. All of it hidden for any other data. The choices go to `pick`, which
// shows them from the output in memory; the lists follow the session.
class NecControls final : public QObject {
    Q_OBJECT
public:
    using Pick = std::function<void(double mhz, NecPart part)>;

    NecControls(DocumentSession& session, AppState& state, QWidget* parent, Pick pick);
    ~NecControls() override;

    void SetFormLanguage();
    // Another window's frequency list and "Общая шкала" box, kept like the main window's while
    // that window lives; the step keys work there too.
    void Follow(QWidget& window, QLabel& caption, QComboBox& frequencies, QCheckBox& sharedScale);
    // The step keys work in that window too (the polar window).
    void AddStepKeys(QWidget& window);
    // The previous (-1) or next (+1) frequency; false at either end of the list, or when the
    // part on show is the same at every frequency (the sweep).
    bool Step(int direction);
    // The lists as the document on show has them.
    void Show();

    QFrame* fraNec = nullptr;
    QLabel* lblNecPart = nullptr;
    QComboBox* cmbNecPart = nullptr;
    QLabel* lblNecFrequency = nullptr;
    QComboBox* cmbNecFrequency = nullptr;
    // Beside the other 3D boxes of the main window.
    QCheckBox* chk3DSharedScale = nullptr;
    QAction* mnuNecPrevious = nullptr;
    QAction* mnuNecNext = nullptr;

private:
    struct FrequencyList {
        QPointer<QLabel> caption;
        QPointer<QComboBox> list;
        QPointer<QCheckBox> sharedScale;
        // The window holding them has gone.
        bool Gone() const { return list.isNull() || caption.isNull() || sharedScale.isNull(); }
    };
    void ChooseFrequency(int index);
    void ChoosePart(int index);
    void FillFrequencies(QLabel& caption, QComboBox& list, QCheckBox& sharedScale);

    DocumentSession& session_;
    AppState& state_;
    Pick pick_;
    int observer_ = -1;
    std::vector<FrequencyList> followers_;
};

} // namespace lobex
