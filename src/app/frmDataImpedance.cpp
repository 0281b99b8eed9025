#include "frmData.h"

#include "CompareTable.h"
#include "ImpedanceBar.h"
#include "core/AtomicFile.h"
#include "core/DataGrid.h"
#include "core/FileDialogs.h"
#include "core/ImpedanceColumns.h"
#include "core/Messages.h"
#include "core/TextRules.h"
#include "core/Utf8Path.h"
#include "graphs/CompareFigures.h"
#include "graphs/CurveReading.h"
#include "graphs/ReferenceImpedance.h"
#include "model/Touchstone.h"
#include "platform/QtTranslations.h"

#include <QComboBox>

#include <variant>

// The reference impedance of sweeps and tables: the curves derived at it, a sweep's bandwidths
// and resonances under the graph, and a sweep saved as Touchstone.
namespace lobex {

void frmData::ReadImpedanceChoice() {
    state_.View.ReferenceImpedance =
        ParseReferenceImpedance(ReadSetting(services_.settings, kReferenceImpedanceSetting), ".");
    const double threshold = LeadingNumber(ReadSetting(services_.settings, kSwrThresholdSetting));
    for (const double offered : kSwrThresholdChoices) {
        if (offered == threshold) {
            state_.View.SwrThreshold = threshold;
        }
    }
}

void frmData::DeriveCurves() {
    DeriveReflectionCurves(state_.Loaded.Data, ChosenReferenceImpedance(state_));
    // The lists' entries of the derived curves carry the impedance in their names.
    const std::vector<SeriesRecord>& derived = state_.Loaded.Data.Derived;
    for (std::size_t i = 0; i < derived.size(); ++i) {
        const int column = kSeriesCount + static_cast<int>(i);
        for (QComboBox* list : {cmbLeft, cmbRight}) {
            const int entry = list->findData(column);
            if (entry >= 0) {
                list->setItemText(entry, ShownText(derived[i].Label));
            }
        }
    }
}

void frmData::ShowImpedance() {
    const DataSet& shown = state_.Loaded.Data;
    const bool visible = FindImpedanceColumns(shown) && !shown.DataText.empty();
    fraImpedance->setVisible(visible);
    if (!visible) {
        return;
    }
    const std::string& separator = state_.DecimalSeparator;
    fraImpedance->ShowChoice(FileReferenceImpedance(shown), state_.View.ReferenceImpedance,
                             state_.View.SwrThreshold, separator);
    const std::complex<double> z0 = ChosenReferenceImpedance(state_);
    fraImpedance->ShowFigures(SweepImpedanceFigures(shown, z0, state_.View.SwrThreshold),
                              separator);
    fraImpedance->tblCompare->ShowImpedanceRows(
        ImpedanceCompareRows(state_, z0, state_.View.SwrThreshold), shown.DataKind == KindSweep,
        ShownText(TrimSpaces(shown.Series[0].Label)), separator);
}

void frmData::cmbZ0_Click() {
    std::optional<std::complex<double>> chosen;
    if (!fraImpedance->FileOwnChosen()) {
        chosen = ParseReferenceImpedance(fraImpedance->EnteredText().toStdString(),
                                         state_.DecimalSeparator);
        if (!chosen) {
            // The previous choice goes back first: leaving the field for the message must not
            // enter the refused text again.
            ShowImpedance();
            services_.messages.Show(kReferenceImpedanceEntryMessage, MessageIcon::Information,
                                    state_.AppTitle);
            return;
        }
    }
    if (chosen == state_.View.ReferenceImpedance) {
        ShowImpedance();
        return;
    }
    state_.View.ReferenceImpedance = chosen;
    WriteSetting(services_.settings, kReferenceImpedanceSetting,
                 chosen ? ReferenceImpedanceText(*chosen, ".") : std::string());
    DeriveCurves();
    ShowImpedance();
    if (!state_.View.PatternShown && !state_.Loaded.Data.DataText.empty() &&
        cmbLeft->currentIndex() >= 0) {
        CurveClick(true);
    }
}

void frmData::cmbSwrLimit_Click(double threshold) {
    state_.View.SwrThreshold = threshold;
    WriteSetting(services_.settings, kSwrThresholdSetting, ShortestText(threshold));
    ShowImpedance();
    // The Smith chart draws the threshold's SWR circle.
    if (!state_.View.PatternShown && !state_.Loaded.Data.DataText.empty() &&
        cmbLeft->currentIndex() >= 0) {
        CurveClick(true);
    }
}

void frmData::SaveTouchstone() {
    const auto* sweep =
        state_.Loaded.Document ? std::get_if<Sweep>(state_.Loaded.Document.get()) : nullptr;
    if (sweep == nullptr) {
        return;
    }
    if (OpenSaveFileDialog(state_, services_.settings, services_.dialogs,
                           "Touchstone (*.s1p)|*.s1p",
                           LastDataFolder(state_, services_.settings)) == 0) {
        return;
    }
    const std::string path = state_.Paths.SaveFileName;
    // Version 1 knows a real reference only. S against any real one gives R and jX back
    // exactly, so a complex choice is written against the usual 50 ohms.
    const std::complex<double> z0 = ChosenReferenceImpedance(state_);
    const double reference = z0.imag() == 0.0 ? z0.real() : kDefaultLineImpedance.real();
    const std::string source = PathToUtf8(Utf8Path(shownFile_).filename());
    const Checked<std::string> bytes = WriteTouchstone(*sweep, reference, source);
    if (!bytes) {
        services_.messages.Show(RejectionText(bytes.rejection), MessageIcon::Information,
                                state_.AppTitle);
        return;
    }
    const FileWriteResult written = WriteAtomically(Utf8Path(path), *bytes.value);
    if (!written.ok) {
        services_.messages.Show(WithCause(kWriteErrorMessage, path, written.error),
                                MessageIcon::Critical, state_.AppTitle);
        return;
    }
    SetStatus(SavedStatus(path));
}

} // namespace lobex
