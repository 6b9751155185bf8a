#include "framework/FirstPaintProbe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <cstdio>

namespace fw {

#ifdef TUNEMILL_PAINT_PROBE
namespace {

class FirstPaintWatcher : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!reported_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window()->isVisible()) {
            reported_ = true;
            // Queued, so that it runs once the whole window has been painted and flushed.
            QMetaObject::invokeMethod(
                this,
                [] {
                    std::fputs("first paint\n", stderr);
                    std::fflush(stderr);
                    QCoreApplication::quit();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    bool reported_ = false;
};

}  // namespace
#endif

void InstallFirstPaintProbe() {
#ifdef TUNEMILL_PAINT_PROBE
    if (qEnvironmentVariableIsSet("TUNEMILL_EXIT_AFTER_FIRST_PAINT")) {
        auto* watcher = new FirstPaintWatcher;
        watcher->setParent(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(watcher);
    }
#endif
}

}  // namespace fw
