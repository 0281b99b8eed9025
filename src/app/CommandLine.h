#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace lobex {

// What the command line asks for: an optional file to open, and --screenshot FILE (start, do
// what was asked, save a picture of the main window once it has painted, exit).
struct StartupOptions {
    QString file;
    QString screenshot;
    // --3d opens the 3D view as its button does, --3d-window then moves it into its own window;
    // --antenna MODEL.maa shows that antenna in it.
    bool view3d = false;
    bool view3dWindow = false;
    QString antenna;
    QString error; // not empty when the command line could not be understood
};

StartupOptions ParseStartupOptions(const QStringList& arguments);

// Waits until the window is on screen and painted, then writes its picture to path through a
// temporary file; returns false with a reason when that fails.
bool SaveWindowPicture(QWidget& window, const QString& path, QString* error);

} // namespace lobex
