#include "BackgroundRead.h"

#include "core/LoadFlow.h"
#include "core/Messages.h"

#include <QFileInfo>
#include <QThread>
#include <QTimer>

namespace lobex {

BackgroundRead::BackgroundRead(QWidget* window, std::string caption, std::function<bool()> busy,
                               Done done)
    : busy_(std::move(busy)), done_(std::move(done)),
      progress_(window, std::move(caption), QT_TRANSLATE_NOOP("lobex", "Чтение: %1, %2 с"),
                [this] { Cancel(); }) {}

BackgroundRead::~BackgroundRead() {
    Cancel();
    for (QThread* thread : findChildren<QThread*>()) {
        thread->disconnect(this);
        thread->wait();
    }
}

void BackgroundRead::Start(const std::string& path, const LoadRequest& request) {
    Cancel();
    const int read = ++read_;
    reading_ = true;
    auto result = std::make_shared<LoadResult>();
    QThread* thread = QThread::create([path, request, result] {
        try {
            *result = ReadDataFile(path, request);
        } catch (const std::exception&) {
            // The readers hold their own failures; what escapes them is memory running out.
            *result = LoadResult{};
            result->Tell(kReadErrorMessage, MessageIcon::Critical, {kOutOfMemoryCause});
        }
    });
    thread->setParent(this);
    connect(thread, &QThread::finished, this, [this, thread, read, path, result] {
        thread->deleteLater();
        HandOver(read, path, result);
    });
    progress_.Start(QFileInfo(QString::fromStdString(path)).fileName());
    thread->start();
}

void BackgroundRead::HandOver(int read, const std::string& path,
                              const std::shared_ptr<LoadResult>& result) {
    if (read != read_ || !reading_) {
        return;
    }
    if (busy_()) {
        QTimer::singleShot(100, this, [this, read, path, result] { HandOver(read, path, result); });
        return;
    }
    reading_ = false;
    progress_.Stop();
    done_(path, std::move(*result));
}

void BackgroundRead::Cancel() {
    reading_ = false;
    progress_.Stop();
}

} // namespace lobex
