#include "framework/Keyboard.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <set>

namespace fw {

namespace {

// Where there is an X server, it knows which keys are held. Elsewhere the only source is the key
// events, and Qt drops those of a window that a modal box blocks before any application filter
// sees them, a release among them; so the tracker forgets every key whenever a modal session
// starts or ends and whenever the application loses the keyboard. A key that is still held then
// counts again at its next press or auto-repeat.

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

private:
    // An ignored key event goes on to the receiver's parent, the same event again. A press whose
    // handler ran a modal session reaches the parents only after that session ended, when the
    // key was forgotten and may long be up: so a press counts at its first receiver alone.
    bool IsPropagation(const QEvent* event, QObject* watched) {
        const bool again = event == lastEvent_ && lastReceiver_ && watched != lastReceiver_ &&
                           watched->isWidgetType() && lastReceiver_->isWidgetType() &&
                           static_cast<QWidget*>(watched)->isAncestorOf(
                               static_cast<QWidget*>(lastReceiver_.data()));
        lastEvent_ = event;
        lastReceiver_ = watched;
        return again;
    }

    const QEvent* lastEvent_ = nullptr;
    QPointer<QObject> lastReceiver_;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            // A shortcut may take a press before it becomes a KeyPress; its override query
            // still shows that the key went down.
            case QEvent::KeyPress:
            case QEvent::ShortcutOverride:
            case QEvent::KeyRelease: {
                const auto* key = static_cast<QKeyEvent*>(event);
                const Int32 code = VirtualCodeOf(key->key());
                if (code < 0) {
                    break;
                }
                if (event->type() != QEvent::KeyRelease) {
                    if (!IsPropagation(event, watched)) {
                        Down().insert(code);
                    }
                } else if (!key->isAutoRepeat()) {
                    // An auto-repeated release comes paired with the next press: the key is
                    // still held.
                    Down().erase(code);
                }
                break;
            }
            case QEvent::WindowBlocked:
            case QEvent::WindowUnblocked:
            case QEvent::ApplicationDeactivate:
                Down().clear();
                break;
            case QEvent::ApplicationStateChange:
                if (static_cast<QApplicationStateChangeEvent*>(event)->applicationState() !=
                    Qt::ApplicationActive) {
                    Down().clear();
                }
                break;
            default:
                break;
        }
        return QObject::eventFilter(watched, event);
    }
};

// The X keysyms of each key, by virtual key code (X11/keysymdef.h).
constexpr std::uint32_t kXkBackSpace = 0xff08;
constexpr std::uint32_t kXkDelete = 0xffff;
constexpr std::uint32_t kXkKpDelete = 0xff9f;

bool IsKeysymOf(Int32 virtualKeyCode, std::uint32_t keysym) {
    switch (virtualKeyCode) {
        case Keyboard::kDelete:
            return keysym == kXkBackSpace;
        case Keyboard::kForwardDelete:
            return keysym == kXkDelete || keysym == kXkKpDelete;
        default:
            return false;
    }
}

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};

xcb_connection_t* XConnection() {
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (app == nullptr) {
        return nullptr;
    }
    auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// The server's answer, or nothing where there is no X server or it did not answer. Both requests
// go out before either reply is awaited, so the answer costs one round trip; the mapping is read
// afresh each time, since the user may change the keyboard's layout at any moment.
std::optional<bool> ServerKeyDown(Int32 virtualKeyCode) {
    xcb_connection_t* connection = XConnection();
    if (connection == nullptr || xcb_connection_has_error(connection) != 0) {
        return std::nullopt;
    }
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const xcb_keycode_t first = setup->min_keycode;
    const auto count = static_cast<std::uint8_t>(setup->max_keycode - first + 1);
    const auto mappingCookie = xcb_get_keyboard_mapping(connection, first, count);
    const auto keymapCookie = xcb_query_keymap(connection);
    std::unique_ptr<xcb_get_keyboard_mapping_reply_t, FreeReply> mapping(
        xcb_get_keyboard_mapping_reply(connection, mappingCookie, nullptr));
    std::unique_ptr<xcb_query_keymap_reply_t, FreeReply> keymap(
        xcb_query_keymap_reply(connection, keymapCookie, nullptr));
    if (!mapping || !keymap || mapping->keysyms_per_keycode == 0) {
        return std::nullopt;
    }
    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(mapping.get());
    const int perKeycode = mapping->keysyms_per_keycode;
    const int listed = xcb_get_keyboard_mapping_keysyms_length(mapping.get()) / perKeycode;
    for (int i = 0; i < listed; ++i) {
        // Only a key's own, unshifted symbol names it: some layouts put Delete on a shifted
        // level of a letter, which would make that letter a delete key.
        const int keycode = first + i;
        const bool held = (keymap->keys[keycode / 8] >> (keycode % 8)) & 1;
        if (held && IsKeysymOf(virtualKeyCode, keysyms[i * perKeycode])) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool Keyboard::AsyncKeyDown(Int32 virtualKeyCode) {
    if (const auto server = ServerKeyDown(virtualKeyCode)) {
        return *server;
    }
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
