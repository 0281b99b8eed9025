#include "NecDeckOpen.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>

namespace lobex {

NecDeckOpen::NecDeckOpen(QWidget* window, MessageService& messages, std::string caption,
                         Opened opened)
    : messages_(messages), caption_(std::move(caption)), opened_(std::move(opened)),
      progress_(window, caption_, QT_TRANSLATE_NOOP("lobex", "Расчёт NEC-2: %1, %2 с"),
                [this] { Cancel(); }) {}

NecDeckOpen::~NecDeckOpen() {
    Cancel();
}

bool NecDeckOpen::Running() const {
    return process_ != nullptr;
}

void NecDeckOpen::Run(const std::string& deck) {
    Cancel();
    auto folder = std::make_unique<NecRunFolder>();
    std::string error;
    if (!folder->Make(deck, error)) {
        messages_.Show(error, MessageIcon::Critical, caption_);
        return;
    }
    Start(deck, std::move(folder));
}

void NecDeckOpen::RunText(const std::string& source, const std::string& text) {
    Cancel();
    auto folder = std::make_unique<NecRunFolder>();
    std::string error;
    const std::string name =
        QFileInfo(QString::fromStdString(source)).completeBaseName().toStdString();
    if (!folder->MakeWithText(name + ".nec", text, error)) {
        messages_.Show(error, MessageIcon::Critical, caption_);
        return;
    }
    Start(source, std::move(folder));
}

void NecDeckOpen::Start(const std::string& source, std::unique_ptr<NecRunFolder> folder) {
    source_ = source;
    running_ = std::move(folder);
    const std::vector<std::string> command = running_->Command();
    QStringList arguments;
    for (std::size_t i = 1; i < command.size(); ++i) {
        arguments << QString::fromStdString(command[i]);
    }
    process_ = new QProcess(this);
    process_->setWorkingDirectory(QString::fromStdString(running_->Path()));
    process_->setStandardInputFile(QProcess::nullDevice());
    process_->setProcessChannelMode(QProcess::MergedChannels);
    process_->setStandardOutputFile(QString::fromStdString(running_->Log()));
    connect(process_, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        Finished(status == QProcess::CrashExit, code);
    });
    connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError failure) {
        if (failure != QProcess::FailedToStart) {
            return;
        }
        const std::string reason = process_->errorString().toStdString();
        EndRun();
        running_.reset();
        // Translated here: the message service looks up whole texts, and nec2c's reason follows.
        messages_.Show(QCoreApplication::translate(
                           "lobex", "Программа nec2c не запускается; установите пакет nec2c. ")
                               .toStdString() +
                           NecNotStartedText(reason),
                       MessageIcon::Critical, caption_);
    });
    progress_.Start(QFileInfo(QString::fromStdString(source_)).fileName());
    process_->start(QString::fromStdString(command[0]), arguments);
}

void NecDeckOpen::EndRun() {
    progress_.Stop();
    if (process_ != nullptr) {
        process_->disconnect(this);
        if (process_->state() != QProcess::NotRunning) {
            process_->kill();
            process_->waitForFinished(3000);
        }
        process_->deleteLater();
        process_ = nullptr;
    }
}

void NecDeckOpen::Cancel() {
    if (!Running()) {
        return;
    }
    EndRun();
    running_.reset();
}

void NecDeckOpen::Finished(bool crashed, int code) {
    EndRun();
    std::unique_ptr<NecRunFolder> done = std::move(running_);
    if (crashed || code != 0) {
        messages_.Show(done->FailureText(), MessageIcon::Critical, caption_);
        return;
    }
    // The output read replaces the one on show; its folder lives as long as it is shown.
    const std::string output = done->Output();
    std::swap(shown_, done);
    opened_(source_, output);
}

} // namespace lobex
