#pragma once

#include "core/NecRun.h"
#include "core/Services.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>

class QProcess;
class QProgressDialog;
class QWidget;

// Runs a NEC-2 deck through nec2c while the window goes on: a progress dialog with the time
// elapsed and "Отмена", nec2c's own error text through the message service when it fails.
namespace lobex {

class NecDeckOpen : public QObject {
public:
    // opened reads the output file of a run that succeeded; the file stays until the next run.
    using Opened = std::function<void(const std::string& deck, const std::string& output)>;

    NecDeckOpen(QWidget* window, MessageService& messages, std::string caption, Opened opened);
    ~NecDeckOpen() override;

    // Starts a run on the deck; one already running is stopped first.
    void Run(const std::string& deck);
    // Stops the run, removing its folder; the document on show stays.
    void Cancel();
    bool Running() const;

private:
    void Finished(bool crashed, int code);
    void ShowProgress();
    void EndRun();

    QWidget* window_;
    MessageService& messages_;
    std::string caption_;
    Opened opened_;
    std::string deck_;
    // The run going on, and the one whose output is on show.
    std::unique_ptr<NecRunFolder> running_;
    std::unique_ptr<NecRunFolder> shown_;
    QProcess* process_ = nullptr;
    QPointer<QProgressDialog> progress_;
    QTimer tick_;
    QElapsedTimer elapsed_;
};

} // namespace lobex
