#pragma once

#include <memory>

namespace lobex::cli {

// The run's one Qt application object, of the kind its subcommand needs (QCoreApplication,
// QGuiApplication), made before the subcommand's work starts and kept until it ends. Qt sees
// the program name alone: the options on the command line are ours, not Qt's.
template <class Application>
std::unique_ptr<Application> MakeApplication() {
    static int argc = 1;
    static char name[] = "lobex-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<Application>(argc, argv);
}

} // namespace lobex::cli
