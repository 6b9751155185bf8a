#include "framework/Keyboard.h"

#include <QApplication>
#include <QKeyEvent>

#include <set>

namespace fw {

namespace {

std::set<int>& Down() {
    static std::set<int> keys;
    return keys;
}

Int32 VirtualCodeOf(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Backspace:
            return Keyboard::kDelete;
        case Qt::Key_Delete:
            return Keyboard::kForwardDelete;
        default:
            return -1;
    }
}

class KeyTracker : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // A shortcut may take a press before it becomes a KeyPress; its override query still
        // shows that the key went down.
        const auto type = event->type();
        if (type == QEvent::KeyPress || type == QEvent::ShortcutOverride ||
            type == QEvent::KeyRelease) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const Int32 code = VirtualCodeOf(key->key());
            if (code >= 0) {
                if (type != QEvent::KeyRelease) {
                    Down().insert(code);
                } else if (!key->isAutoRepeat()) {
                    Down().erase(code);
                }
            }
        } else if (type == QEvent::ApplicationDeactivate) {
            Down().clear();
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

bool Keyboard::AsyncKeyDown(Int32 virtualKeyCode) {
    return Down().contains(virtualKeyCode);
}

void InstallKeyboardTracking() {
    static bool installed = false;
    if (installed || qApp == nullptr) {
        return;
    }
    installed = true;
    qApp->installEventFilter(new KeyTracker(qApp));
}

}  // namespace fw
