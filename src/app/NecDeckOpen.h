#pragma once

#include "WorkProgress.h"
#include "core/NecRun.h"
#include "core/Services.h"

#include <QObject>

#include <functional>
#include <memory>
#include <string>

class QProcess;
class QWidget;

// Runs a NEC-2 deck through nec2c while the window goes on: a progress dialog with the time
// elapsed and "Отмена", nec2c's own error text through the message service when it fails.
namespace lobex {

class NecDeckOpen : public QObject {
public:
    // opened reads the output file of a run that succeeded; the file stays until the next run.
    // source is what the user opened: the deck, or the model a deck was written from.
    using Opened = std::function<void(const std::string& source, const std::string& output)>;

    NecDeckOpen(QWidget* window, MessageService& messages, std::string caption, Opened opened);
    ~NecDeckOpen() override;

    // Starts a run on the deck; one already running is stopped first.
    void Run(const std::string& deck);
    // The same for a deck's text written from source (a model), named after it in the folder.
    void RunText(const std::string& source, const std::string& text);
    // Stops the run, removing its folder; the document on show stays.
    void Cancel();
    bool Running() const;

private:
    void Start(const std::string& source, std::unique_ptr<NecRunFolder> folder);
    void Finished(bool crashed, int code);
    void EndRun();

    MessageService& messages_;
    std::string caption_;
    Opened opened_;
    std::string source_;
    // The run going on, and the one whose output is on show.
    std::unique_ptr<NecRunFolder> running_;
    std::unique_ptr<NecRunFolder> shown_;
    QProcess* process_ = nullptr;
    WorkProgress progress_;
};

} // namespace lobex
