#pragma once

#include <QWidget>

class QTextBrowser;

namespace lobex {

// The help document in a window of the program: the document's title is the caption, links
// within it are followed in place and links elsewhere go to the desktop's browser. Escape
// closes it.
class frmHelp final : public QWidget {
    Q_OBJECT
public:
    explicit frmHelp(QWidget* mainWindow);

    // Shows the HTML document at path; false, showing nothing new, when it cannot be read.
    bool Open(const QString& path);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* mainWindow_ = nullptr;
    QTextBrowser* txtHelp = nullptr;
};

} // namespace lobex
