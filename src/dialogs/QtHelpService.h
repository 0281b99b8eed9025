#pragma once

#include "core/Services.h"
#include "frmHelp.h"

#include <QPointer>

namespace lobex {

// Shows the help document in the program's help window, one window for the whole run.
class QtHelpService final : public HelpService {
public:
    // The window the help window belongs to and is placed over.
    void SetParent(QWidget* parent) { parent_ = parent; }
    bool ShowHelp(std::string_view helpFile) override;
    // The help window once shown, else null.
    frmHelp* Window() const { return window_.data(); }

private:
    QPointer<QWidget> parent_;
    QPointer<frmHelp> window_;
};

} // namespace lobex
