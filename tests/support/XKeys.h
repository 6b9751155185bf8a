#pragma once

#include <QGuiApplication>
#include <QProcess>
#include <QString>
#include <QStringList>

// Keys pressed and released for real in the X server that the test runs on, through XTEST
// (xdotool): the server's key state changes as it does under a user's fingers, and the key
// events reach the focused window as the platform delivers them.
namespace xkeys {

inline bool OnX() {
    return QGuiApplication::platformName() == "xcb";
}

// True when xdotool ran and succeeded. It closes its display before it exits, which waits for
// the server to have done what it asked: the key state has changed by the time this returns.
inline bool Xdotool(const QStringList& args) {
    QProcess xdotool;
    xdotool.start("xdotool", args);
    return xdotool.waitForFinished(10000) && xdotool.exitStatus() == QProcess::NormalExit &&
           xdotool.exitCode() == 0;
}

// A key held down in the server from Press() until Release() or the end of the guard: a key
// left down there would stay down for every test after this one.
class HeldKey {
public:
    explicit HeldKey(QString keysym) : keysym_(std::move(keysym)) {}
    ~HeldKey() {
        if (down_) {
            Release();
        }
    }
    HeldKey(const HeldKey&) = delete;
    HeldKey& operator=(const HeldKey&) = delete;

    bool Press() {
        down_ = true;
        return Xdotool({"keydown", keysym_});
    }
    bool Release() {
        down_ = false;
        return Xdotool({"keyup", keysym_});
    }

private:
    QString keysym_;
    bool down_ = false;
};

// Presses and releases a key.
inline bool Tap(const QString& keysym) {
    return Xdotool({"key", keysym});
}

}  // namespace xkeys
