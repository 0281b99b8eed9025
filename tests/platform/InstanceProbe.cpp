// A stand-in for a copy of the program: takes the single-instance decision in a real process.
// Usage: instance_probe FOLDER SECONDS
//   first copy:  prints "primary", then "shown" when a later copy asks for it (exit 0),
//                or exits 3 when nobody asks within SECONDS
//   later copy:  prints "notified" (exit 0) or "unreachable" (exit 4)
//   no lock:     prints "unguarded" (exit 5)
#include "platform/SingleInstance.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        return 2;
    }
    lobex::SingleInstance instance(QString::fromLocal8Bit(argv[1]));
    const lobex::InstanceClaim claim = instance.TryBecomePrimary();
    if (claim == lobex::InstanceClaim::LockUnavailable) {
        std::puts("unguarded");
        return 5;
    }
    if (claim == lobex::InstanceClaim::AnotherCopyRuns) {
        const bool notified = instance.NotifyPrimary();
        std::puts(notified ? "notified" : "unreachable");
        return notified ? 0 : 4;
    }
    std::puts("primary");
    std::fflush(stdout);
    QObject::connect(&instance, &lobex::SingleInstance::ShowRequested, &app, [] {
        std::puts("shown");
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
    QTimer::singleShot(QString::fromLocal8Bit(argv[2]).toInt() * 1000, &app,
                       [] { QCoreApplication::exit(3); });
    return QCoreApplication::exec();
}
