#pragma once

#include "WorkProgress.h"
#include "core/LoadResult.h"

#include <QObject>

#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace lobex {

// Reads a data file as an open does (ReadDataFile) on a thread of its own, with a progress
// dialog, while the window goes on; what it read is handed back on the window's thread, where
// the load flow applies it. One read counts at a time: a new one, or Cancel, drops what the one
// before brings, and that thread is left to end on its own.
class BackgroundRead : public QObject {
public:
    using Done = std::function<void(const std::string& path, LoadResult&& result)>;

    // busy says the window cannot take a load now (another one runs, a dialog waits): the read
    // is handed over once it can.
    BackgroundRead(QWidget* window, std::string caption, std::function<bool()> busy, Done done);
    // Waits for the threads still reading: they hold nothing of the window.
    ~BackgroundRead() override;

    void Start(const std::string& path, const LoadRequest& request);
    void Cancel();
    bool Reading() const { return reading_; }

private:
    void HandOver(int read, const std::string& path, const std::shared_ptr<LoadResult>& result);

    std::function<bool()> busy_;
    Done done_;
    // The read that counts, numbered; reads of other numbers are dropped.
    int read_ = 0;
    bool reading_ = false;
    WorkProgress progress_;
};

} // namespace lobex
