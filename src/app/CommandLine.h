#pragma once

#include "core/Services.h"

#include <QString>

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace lobex {

// What the command line asks for: an optional file to open, and --screenshot FILE (start, do
// what was asked, save a picture of the main window once it has painted, exit). File names
// stay as the system gave them (bytes on POSIX).
struct StartupOptions {
    std::string file;
    std::string screenshot;
    // --3d opens the 3D view as its button does, --3d-window then moves it into its own window;
    // --antenna MODEL.maa shows that antenna in it.
    bool view3d = false;
    bool view3dWindow = false;
    std::string antenna;
    // --compare OTHER (again for each): files compared with the one opened.
    std::vector<std::string> compare;
    QString error; // not empty when the command line could not be understood
};

// arguments: the words after the program's name.
StartupOptions ParseStartupOptions(const std::vector<std::string>& arguments);

// The name with the platform's own separators.
std::string WithNativeSeparators(std::string path);

// Waits until the window is on screen and painted, then writes its picture to path through a
// temporary file; returns false with a reason when that fails.
bool SaveWindowPicture(QWidget& window, const std::string& path, QString* error);

class frmData;

// Opens a file another copy of the program was started with, as "Открыть" would, once the
// window is free: no dialog open and no load running.
void OpenFileFromOtherCopy(frmData& window, const std::string& path);

// A screenshot run has nobody to answer a message box: each message becomes one line on the
// stream (standard error), with its icon, and the run goes on.
class PrintedMessages final : public MessageService {
public:
    explicit PrintedMessages(std::ostream& out) : out_(out) {}
    void Show(std::string_view text, MessageIcon icon, std::string_view caption) override;
    void ShowWithCause(std::string_view text, const Rejection& cause, MessageIcon icon,
                       std::string_view caption) override;

private:
    std::ostream& out_;
};

} // namespace lobex
