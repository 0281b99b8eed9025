#include "CliSupport.h"

#include "core/Lifecycle.h"
#include "platform/MmanaWindowLink.h"
#include "platform/TempFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace lobex::cli {

// The program's paths as the window has them, so that the link finds its helper in Utils and
// the copy of the table goes to the private temporary folder. The program's folder comes from
// the application object that main made for this run.
std::unique_ptr<MmanaWindowLink> MmanaLinkForCli(AppState& state, std::ostream& err) {
    const TempFolder tempFolder = GetTempFolder();
    if (tempFolder.path.empty()) {
        err << "lobex-cli: no private temporary folder can be made:\n"
            << tempFolder.problem << '\n';
        return nullptr;
    }
    StartupEnvironment environment;
    environment.appFolder =
        QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString();
    environment.tempFolder = tempFolder.path;
    environment.decimalSeparator = state.DecimalSeparator;
    environment.separator = QDir::separator().toLatin1();
    PrepareStartupState(state, environment);
    return CreateMmanaWindowLink(state.Paths.UtilsFolder);
}

} // namespace lobex::cli
