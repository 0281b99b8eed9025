#include "NecControls.h"

#include "core/NecFile.h"
#include "core/TextRules.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QLabel>
#include <QSignalBlocker>

#include <array>
#include <utility>
#include <variant>

namespace lobex {
namespace {

// The parts in the order the list offers them.
constexpr std::array<std::pair<NecPart, const char*>, 4> kPartNames = {{
    {NecPart::Pattern, QT_TRANSLATE_NOOP("lobex::NecControls", "Диаграмма")},
    {NecPart::Sweep, QT_TRANSLATE_NOOP("lobex::NecControls", "Частотные характеристики")},
    {NecPart::Currents, QT_TRANSLATE_NOOP("lobex::NecControls", "Токи")},
    {NecPart::NearField, QT_TRANSLATE_NOOP("lobex::NecControls", "Ближнее поле")},
}};

const NecOutput* ShownNec(const AppState& state) {
    return std::get_if<NecOutput>(state.Loaded.Document.get());
}

template <typename T>
T* Named(T* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

NecControls::NecControls(DocumentSession& session, AppState& state, QWidget* parent, Pick pick)
    : QObject(parent), session_(session), state_(state), pick_(std::move(pick)) {
    fraNec = Named(new QFrame(parent), "fraNec");
    auto* layout = new QFormLayout(fraNec);
    layout->setContentsMargins(4, 0, 4, 0);
    layout->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    lblNecPart = Named(new QLabel(fraNec), "lblNecPart");
    cmbNecPart = Named(new QComboBox(fraNec), "cmbNecPart");
    lblNecFrequency = Named(new QLabel(fraNec), "lblNecFrequency");
    cmbNecFrequency = Named(new QComboBox(fraNec), "cmbNecFrequency");
    layout->addRow(lblNecPart, cmbNecPart);
    layout->addRow(lblNecFrequency, cmbNecFrequency);
    fraNec->hide();
    chk3DSharedScale = Named(new QCheckBox(parent), "chk3DSharedScale");
    chk3DSharedScale->hide();
    mnuNecPrevious = new QAction(this);
    mnuNecPrevious->setObjectName(QStringLiteral("mnuNecPrevious"));
    mnuNecPrevious->setShortcut(QKeySequence(Qt::Key_BracketLeft));
    mnuNecNext = new QAction(this);
    mnuNecNext->setObjectName(QStringLiteral("mnuNecNext"));
    mnuNecNext->setShortcut(QKeySequence(Qt::Key_BracketRight));
    for (QAction* step : {mnuNecPrevious, mnuNecNext}) {
        step->setVisible(false);
        parent->addAction(step);
    }
    connect(cmbNecFrequency, &QComboBox::activated, this, &NecControls::ChooseFrequency);
    connect(cmbNecPart, &QComboBox::activated, this, &NecControls::ChoosePart);
    connect(mnuNecPrevious, &QAction::triggered, this, [this] { Step(-1); });
    connect(mnuNecNext, &QAction::triggered, this, [this] { Step(1); });
    observer_ = session_.Observe([this](SessionChange change, const Document*) {
        if (change != SessionChange::Compared) {
            Show();
        }
    });
    SetFormLanguage();
}

NecControls::~NecControls() {
    session_.Forget(observer_);
}

void NecControls::SetFormLanguage() {
    lblNecPart->setText(tr("Показать:"));
    lblNecFrequency->setText(tr("Частота:"));
    cmbNecPart->setToolTip(tr("Что показать из результатов NEC-2"));
    cmbNecFrequency->setToolTip(tr("Частота, МГц, результаты которой показаны ([ и ] - "
                                   "предыдущая и следующая)"));
    chk3DSharedScale->setText(tr("Общая шкала"));
    chk3DSharedScale->setToolTip(
        tr("Одна шкала цветов усиления для диаграмм всех частот, от наибольшего их максимума"));
    mnuNecPrevious->setText(tr("Предыдущая частота"));
    mnuNecNext->setText(tr("Следующая частота"));
    for (std::size_t i = 0; i < kPartNames.size(); ++i) {
        const int entry = cmbNecPart->findData(static_cast<int>(kPartNames[i].first));
        if (entry >= 0) {
            cmbNecPart->setItemText(entry, tr(kPartNames[i].second));
        }
    }
}

void NecControls::Follow(QWidget& window, QLabel& caption, QComboBox& frequencies,
                         QCheckBox& sharedScale) {
    std::erase_if(followers_, std::mem_fn(&FrequencyList::Gone));
    followers_.push_back({&caption, &frequencies, &sharedScale});
    AddStepKeys(window);
    caption.setText(lblNecFrequency->text());
    frequencies.setToolTip(cmbNecFrequency->toolTip());
    sharedScale.setText(chk3DSharedScale->text());
    sharedScale.setToolTip(chk3DSharedScale->toolTip());
    sharedScale.setChecked(chk3DSharedScale->isChecked());
    connect(&frequencies, &QComboBox::activated, this, &NecControls::ChooseFrequency);
    connect(&sharedScale, &QCheckBox::toggled, chk3DSharedScale, &QCheckBox::setChecked);
    FillFrequencies(caption, frequencies, sharedScale);
}

void NecControls::AddStepKeys(QWidget& window) {
    window.addAction(mnuNecPrevious);
    window.addAction(mnuNecNext);
}

void NecControls::FillFrequencies(QLabel& caption, QComboBox& list, QCheckBox& sharedScale) {
    const NecOutput* nec = ShownNec(state_);
    const QSignalBlocker quiet(list);
    list.clear();
    if (nec != nullptr) {
        for (const NecFrequency& frequency : nec->frequencies) {
            list.addItem(QString::fromStdString(
                FormatPattern(frequency.mhz, "#0.00###", state_.DecimalSeparator)));
        }
        list.setCurrentIndex(ShownNecFrequency(*nec, state_.View.NecFrequency));
    }
    const bool several = nec != nullptr && nec->frequencies.size() > 1;
    caption.setVisible(several);
    list.setVisible(several);
    list.setEnabled(mnuNecNext->isEnabled());
    sharedScale.setVisible(nec != nullptr && NecPatternCount(*nec) > 1);
}

void NecControls::Show() {
    const NecOutput* nec = ShownNec(state_);
    fraNec->setVisible(nec != nullptr);
    const int index = nec != nullptr ? ShownNecFrequency(*nec, state_.View.NecFrequency) : -1;
    // -1 when nothing is shown.
    int shown = -1;
    if (nec != nullptr) {
        if (const std::optional<NecPart> part = ShownNecPart(*nec, index, state_.View.NecShown)) {
            shown = static_cast<int>(*part);
        }
    }
    {
        const QSignalBlocker quiet(cmbNecPart);
        cmbNecPart->clear();
        for (const auto& [part, name] : kPartNames) {
            if (nec != nullptr && NecHasPart(*nec, index, part)) {
                cmbNecPart->addItem(tr(name), static_cast<int>(part));
            }
        }
        cmbNecPart->setCurrentIndex(cmbNecPart->findData(shown));
    }
    // The sweep runs over every frequency: there is none to choose.
    const bool stepping = nec != nullptr && nec->frequencies.size() > 1 && shown >= 0 &&
                          shown != static_cast<int>(NecPart::Sweep);
    for (QAction* step : {mnuNecPrevious, mnuNecNext}) {
        step->setVisible(nec != nullptr && nec->frequencies.size() > 1);
        step->setEnabled(stepping);
    }
    FillFrequencies(*lblNecFrequency, *cmbNecFrequency, *chk3DSharedScale);
    std::erase_if(followers_, std::mem_fn(&FrequencyList::Gone));
    for (const FrequencyList& follower : followers_) {
        FillFrequencies(*follower.caption, *follower.list, *follower.sharedScale);
    }
}

bool NecControls::Step(int direction) {
    const NecOutput* nec = ShownNec(state_);
    if (nec == nullptr || !mnuNecNext->isEnabled()) {
        return false;
    }
    const int next = ShownNecFrequency(*nec, state_.View.NecFrequency) + direction;
    if (next < 0 || next >= static_cast<int>(nec->frequencies.size())) {
        return false;
    }
    // The part the user asked for: a frequency that lacked it showed another.
    pick_(nec->frequencies[static_cast<std::size_t>(next)].mhz, state_.View.NecShown);
    return true;
}

void NecControls::ChooseFrequency(int index) {
    const NecOutput* nec = ShownNec(state_);
    if (nec != nullptr && index >= 0 && index < static_cast<int>(nec->frequencies.size())) {
        pick_(nec->frequencies[static_cast<std::size_t>(index)].mhz, state_.View.NecShown);
    }
}

void NecControls::ChoosePart(int index) {
    if (index >= 0 && ShownNec(state_) != nullptr) {
        pick_(state_.View.NecFrequency, static_cast<NecPart>(cmbNecPart->itemData(index).toInt()));
    }
}

} // namespace lobex
