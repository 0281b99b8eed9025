#include "MmanaWindowLink.h"

#include "core/TextRules.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lobex {
namespace {

// Wine's prefix folder: WINEPREFIX, else ~/.wine (HOME, else the password entry, as Wine does).
std::string WinePrefix() {
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix != nullptr) {
        return prefix;
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr) {
        const passwd* entry = getpwuid(getuid());
        home = entry != nullptr ? entry->pw_dir : nullptr;
    }
    return home != nullptr ? std::string(home) + "/.wine" : std::string();
}

// A device or inode number as Wine writes it into its server folder's name.
std::string WineHex(unsigned long long value) {
    char text[40];
    if (value > static_cast<unsigned long>(-1)) {
        std::snprintf(text, sizeof text, "%lx%08lx", static_cast<unsigned long>(value >> 32),
                      static_cast<unsigned long>(value & 0xffffffffULL));
    } else {
        std::snprintf(text, sizeof text, "%lx", static_cast<unsigned long>(value));
    }
    return text;
}

// The first line of a small file, without its line end; empty when it cannot be read.
std::string FirstLine(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

bool IsSocket(const std::string& path) {
    struct stat entry {};
    return lstat(path.c_str(), &entry) == 0 && S_ISSOCK(entry.st_mode);
}

// Whether a Wine server runs for the user's prefix. Without a prefix, or without a server for
// it, no Windows program (MMANA included) can be running, and starting Wine would only create
// a prefix: seconds of work and a folder in the user's home. A running server keeps its socket
// in a folder named after the prefix folder's device and inode, server-<dev>-<inode>: Wine puts
// it in /tmp/.wine-<uid>/; Debian's Wine in a folder of TMPDIR (else /tmp) whose name it keeps
// in the prefix's file "wineserver".
bool WineServerRuns() {
    const std::string prefix = WinePrefix();
    struct stat folder {};
    // Wine refuses a relative prefix and one owned by someone else.
    if (prefix.empty() || prefix.front() != '/' || stat(prefix.c_str(), &folder) != 0 ||
        !S_ISDIR(folder.st_mode) || folder.st_uid != getuid()) {
        return false;
    }
    const std::string server = "/server-" +
                               WineHex(static_cast<unsigned long long>(folder.st_dev)) + "-" +
                               WineHex(static_cast<unsigned long long>(folder.st_ino)) + "/socket";
    if (IsSocket("/tmp/.wine-" + std::to_string(getuid()) + server)) {
        return true;
    }
    const std::string name = FirstLine(prefix + "/wineserver");
    if (name.empty() || name.find('/') != std::string::npos || name == "." || name == "..") {
        return false;
    }
    const char* temp = std::getenv("TMPDIR");
    const std::string base = temp != nullptr && *temp != '\0' ? temp : "/tmp";
    return IsSocket(base + "/" + name + server);
}

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
        // a Russian MMANA, Windows-932 for a Japanese one. DecodeText tells them apart.
        return memo == kMemo ? DecodeText(text_) : std::string();
    }

private:
    enum class Outcome { NotRunning, NoMemo, EmptyClipboard, Text };
    static constexpr std::uintptr_t kMainWindow = 1;
    static constexpr std::uintptr_t kMemo = 2;

    void Grab() {
        outcome_ = Outcome::NotRunning;
        text_.clear();
        const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
        if (wine.isEmpty() || !QFileInfo(helper_).isFile() || !WineServerRuns()) {
            return;
        }
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (!environment.contains(QStringLiteral("WINEDEBUG"))) {
            environment.insert(QStringLiteral("WINEDEBUG"), QStringLiteral("-all"));
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

    // Waits with the event loop running, so that a window stays responsive meanwhile.
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

bool MmanaCanRunHere() {
    const std::string prefix = WinePrefix();
    struct stat folder {};
    return !prefix.empty() && stat(prefix.c_str(), &folder) == 0 && S_ISDIR(folder.st_mode);
}

} // namespace lobex
