#pragma once

#include "core/AppState.h"
#include "core/Services.h"
#include "session/DocumentSession.h"

#include <QObject>

#include <functional>
#include <string>
#include <vector>

class QAction;
class QMenu;

namespace lobex {

class FileChangeWatcher;

// The main window's comparison commands in the File menu ("Сравнить с…", "Запомнить как
// эталон", "Убрать сравнение", "Нормировать"), the watch on each compared file, and the link
// from the session's compare entries to what the graphs draw.
class CompareControls final : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        // Draws the chosen curves again, as a click on the left list does.
        std::function<void()> redraw;
        // Whether changed files are read again ("Перечитывать при изменении").
        std::function<bool()> reloadOn;
        std::function<void(const std::string&)> status;
        // "Разность" went on or off, or the results it compares changed, for the 3D view.
        std::function<void()> difference;
    };

    CompareControls(DocumentSession& session, AppState& state, Services& services, QMenu& file,
                    QAction* before, Hooks hooks, QObject* parent);
    ~CompareControls() override;

    // Adds a file to the comparison (a drop with Ctrl held, the command line); the user is told
    // when it cannot be compared.
    void CompareWith(const std::string& path);
    // The watches follow the files compared and the reload setting.
    void Rewatch();

    QAction* mnuFileCompare = nullptr;
    QAction* mnuFileComparePin = nullptr;
    QAction* mnuFileCompareClear = nullptr;
    QAction* mnuFileCompareNormalise = nullptr;
    QAction* mnuFileCompareDifference = nullptr;

private:
    void mnuFileCompare_Click();
    void SessionChanged(SessionChange change);
    void ReloadCompared(const std::string& path);
    // What the graphs draw, from the session's entries.
    void TakeEntries();

    DocumentSession& session_;
    AppState& state_;
    Services& services_;
    Hooks hooks_;
    int observer_ = -1;
    std::vector<FileChangeWatcher*> watches_;
};

} // namespace lobex
