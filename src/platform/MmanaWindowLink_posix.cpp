#include "MmanaWindowLink.h"

#include "core/TextRules.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

namespace lobex {
namespace {

// MMANA runs under Wine here. A small Windows helper, run under the user's Wine, does the
// window search and the copy in one go; its exit code tells the outcomes apart.
class WineMmanaLink final : public MmanaWindowLink {
public:
    WineMmanaLink(std::string utilsFolder, int timeoutMs)
        : helper_(QString::fromStdString(utilsFolder) + QStringLiteral("mmana-grab.exe")),
          timeoutMs_(timeoutMs) {}

    std::uintptr_t FindMainWindow() override {
        Grab();
        return outcome_ == Outcome::NotRunning ? 0 : kMainWindow;
    }
    std::uintptr_t FindMemo(std::uintptr_t mainWindow) override {
        return mainWindow == kMainWindow &&
                       (outcome_ == Outcome::Text || outcome_ == Outcome::EmptyClipboard)
                   ? kMemo
                   : 0;
    }
    std::string CopyMemoText(std::uintptr_t memo) override {
        // Windows programs put text on the clipboard in the ANSI code page: Windows-1251 for
        // a Russian MMANA.
        return memo == kMemo ? Cp1251ToUtf8(text_) : std::string();
    }

private:
    enum class Outcome { NotRunning, NoMemo, EmptyClipboard, Text };
    static constexpr std::uintptr_t kMainWindow = 1;
    static constexpr std::uintptr_t kMemo = 2;

    void Grab() {
        outcome_ = Outcome::NotRunning;
        text_.clear();
        const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
        if (wine.isEmpty() || !QFileInfo(helper_).isFile()) {
            return;
        }
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (!environment.contains(QStringLiteral("WINEDEBUG"))) {
            environment.insert(QStringLiteral("WINEDEBUG"), QStringLiteral("-all"));
        }
        // A prefix Wine has to create first must not stop to offer its add-on installers.
        if (!environment.contains(QStringLiteral("WINEDLLOVERRIDES"))) {
            environment.insert(QStringLiteral("WINEDLLOVERRIDES"),
                               QStringLiteral("mscoree,mshtml="));
        }
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::SeparateChannels);
        process.start(wine, {helper_});
        if (!WaitForFinish(process)) {
            process.kill();
            process.waitForFinished(2000);
            return;
        }
        if (process.exitStatus() != QProcess::NormalExit) {
            return;
        }
        switch (process.exitCode()) {
        case 0: {
            const QByteArray bytes = process.readAllStandardOutput();
            text_.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
            outcome_ = text_.empty() ? Outcome::EmptyClipboard : Outcome::Text;
            break;
        }
        case 2:
            outcome_ = Outcome::NoMemo;
            break;
        case 3:
            outcome_ = Outcome::EmptyClipboard;
            break;
        default:
            break;
        }
    }

    // Waits with the event loop running, so that a window stays responsive meanwhile; the
    // first start of a Wine prefix takes seconds.
    bool WaitForFinish(QProcess& process) const {
        if (!process.waitForStarted(timeoutMs_)) {
            return false;
        }
        if (QCoreApplication::instance() == nullptr) {
            return process.waitForFinished(timeoutMs_);
        }
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        timer.start(timeoutMs_);
        if (process.state() != QProcess::NotRunning) {
            loop.exec(QEventLoop::ExcludeUserInputEvents);
        }
        return process.state() == QProcess::NotRunning;
    }

    QString helper_;
    int timeoutMs_;
    Outcome outcome_ = Outcome::NotRunning;
    std::string text_;
};

} // namespace

std::unique_ptr<MmanaWindowLink> CreateMmanaWindowLink(const std::string& utilsFolder) {
    constexpr int kTimeoutMs = 60000;
    return std::make_unique<WineMmanaLink>(utilsFolder, kTimeoutMs);
}

} // namespace lobex
