#include "RenderFolder.h"

#include "RenderFile.h"

#include "cli/ApplicationObject.h"
#include "cli/CliSupport.h"
#include "core/FarField.h"
#include "core/LoadFlow.h"
#include "core/TextFile.h"
#include "core/TextRules.h"
#include "core/Utf8Path.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QProcess>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <memory>
#include <vector>

#ifdef _WIN32
#include <io.h>
#define LOBEX_ISATTY _isatty
#define LOBEX_FILENO _fileno
#else
#include <unistd.h>
#define LOBEX_ISATTY isatty
#define LOBEX_FILENO fileno
#endif

namespace lobex::render {
namespace {

std::vector<std::string> FarFieldFiles(const std::string& folder) {
    std::vector<std::string> files;
    std::error_code failed;
    for (const auto& entry : std::filesystem::directory_iterator(Utf8Path(folder), failed)) {
        std::error_code kind;
        if (entry.is_regular_file(kind) && IsFarFieldFile(PathToUtf8(entry.path()))) {
            files.push_back(PathToUtf8(entry.path()));
        }
    }
    std::ranges::sort(files);
    return files;
}

// "[#####     ]  12/50" on one terminal line, redrawn in place.
class ProgressBar {
public:
    ProgressBar(std::ostream& err, std::size_t total)
        : err_(err), total_(total), shown_(LOBEX_ISATTY(LOBEX_FILENO(stderr)) != 0) {}

    void Show(std::size_t done) {
        if (!shown_ || total_ == 0) {
            return;
        }
        constexpr std::size_t kWidth = 30;
        const std::size_t filled = done * kWidth / total_;
        err_ << "\r[" << std::string(filled, '#') << std::string(kWidth - filled, ' ') << "] "
             << std::setw(static_cast<int>(std::to_string(total_).size())) << done << '/' << total_
             << std::flush;
    }
    // Clears the bar's line so that a message can take it.
    void Clear() {
        if (shown_) {
            err_ << '\r' << std::string(40 + 2 * std::to_string(total_).size(), ' ') << '\r';
        }
    }

private:
    std::ostream& err_;
    std::size_t total_;
    bool shown_;
};

} // namespace

bool IsFarFieldFile(const std::string& path) {
    if (!HasCsvExtension(path)) {
        return false;
    }
    std::ifstream file(Utf8Path(path), std::ios::binary);
    std::string start(4096, '\0');
    file.read(start.data(), static_cast<std::streamsize>(start.size()));
    start.resize(static_cast<std::size_t>(file.gcount()));
    TextLines lines(start);
    std::string_view first;
    return lines.Next(first) && TrimSpaces(DecodeText(first)) == kFarFieldHeader;
}

int RenderFolder(const RenderOptions& options, std::ostream& out, std::ostream& err) {
    // Drawing the 3D view, this process keeps a connection to the display for as long as the
    // workers run: an X server left without clients resets, and a worker connecting meanwhile
    // would fail.
    const bool needs3D = !options.view || *options.view == ViewKind::View3D;
    if (needs3D && !DisplayForOpenGl(err)) {
        return cli::kExitFailed;
    }
    const std::unique_ptr<QCoreApplication> application =
        needs3D ? std::unique_ptr<QCoreApplication>(cli::MakeApplication<QGuiApplication>())
                : cli::MakeApplication<QCoreApplication>();
    const std::vector<std::string> files = FarFieldFiles(options.input);
    if (files.empty()) {
        err << "lobex-cli render: " << options.input << ": no far-field files\n";
        return cli::kExitFailed;
    }
    const int jobs = std::max(1, options.jobs.value_or(QThread::idealThreadCount()));

    QElapsedTimer clock;
    clock.start();
    ProgressBar progress(err, files.size());
    progress.Show(0);
    std::size_t next = 0;
    std::size_t done = 0;
    std::size_t failed = 0;
    QEventLoop loop;
    // Each worker draws one file's pictures with its own OpenGL context.
    const auto start = [&](const auto& self) -> void {
        const std::string& file = files[next++];
        QStringList args{QString::fromStdString(file), QStringLiteral("--out"),
                         QString::fromStdString(options.out), QStringLiteral("--format"),
                         QString::fromStdString(options.format)};
        if (options.view) {
            args << QStringLiteral("--view") << QString::fromLatin1(ViewName(*options.view));
        }
        for (const std::string& arg : options.forwarded) {
            args << QString::fromStdString(arg);
        }
        auto* worker = new QProcess(&loop);
        QObject::connect(
            worker, &QProcess::finished, &loop,
            [&, worker, file](int status, QProcess::ExitStatus exit) {
                ++done;
                if (exit != QProcess::NormalExit || status != cli::kExitLoaded) {
                    ++failed;
                    progress.Clear();
                    err << "lobex-cli render: " << file << " failed"
                        << (exit != QProcess::NormalExit ? " (the worker crashed)" : "") << '\n';
                    const QByteArray said = worker->readAllStandardError().trimmed();
                    if (!said.isEmpty()) {
                        err << "  " << QString::fromUtf8(said).replace('\n', "\n  ").toStdString()
                            << '\n';
                    }
                }
                worker->deleteLater();
                progress.Show(done);
                if (next < files.size()) {
                    self(self);
                } else if (done == files.size()) {
                    loop.quit();
                }
            });
        QObject::connect(worker, &QProcess::errorOccurred, &loop,
                         [&, worker](QProcess::ProcessError error) {
                             // A worker that never started gets no finished signal.
                             if (error == QProcess::FailedToStart) {
                                 emit worker->finished(-1, QProcess::CrashExit);
                             }
                         });
        worker->setProcessChannelMode(QProcess::SeparateChannels);
        worker->setStandardOutputFile(QProcess::nullDevice());
        worker->start(QCoreApplication::applicationFilePath(), args);
    };
    while (next < files.size() && next < static_cast<std::size_t>(jobs)) {
        start(start);
    }
    if (done < files.size()) {
        loop.exec();
    }
    progress.Clear();
    out << files.size() << " far-field files: " << files.size() - failed << " drawn, " << failed
        << " failed in " << std::fixed << std::setprecision(1)
        << static_cast<double>(clock.elapsed()) / 1000.0 << " s\n";
    return failed == 0 ? cli::kExitLoaded : cli::kExitFailed;
}

} // namespace lobex::render
