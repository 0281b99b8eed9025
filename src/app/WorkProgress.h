#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>
#include <string>

class QProgressDialog;
class QWidget;

namespace lobex {

// The dialog of work that goes on while the window stays usable (a nec2c run, a large read): it
// appears only once the work has lasted a moment, names the work with the seconds gone, and
// its "Отмена" calls cancel.
class WorkProgress : public QObject {
public:
    // label is a text of the "lobex" translations with %1 for the name and %2 for the seconds.
    WorkProgress(QWidget* window, std::string caption, const char* label,
                 std::function<void()> cancel);
    ~WorkProgress() override;

    void Start(const QString& name);
    void Stop();

private:
    void ShowLabel();

    QWidget* window_;
    std::string caption_;
    const char* label_;
    std::function<void()> cancel_;
    QString name_;
    QPointer<QProgressDialog> dialog_;
    QTimer tick_;
    QElapsedTimer elapsed_;
};

} // namespace lobex
