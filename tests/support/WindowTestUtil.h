#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <string>

#include "framework/Application.h"

namespace testutil {

// Points the Resources rule at another executable for the life of the guard; the picture caches
// are process-wide, so a test that moves it must put it back for the tests after it.
class ScopedExecutablePath {
public:
    explicit ScopedExecutablePath(const std::string& path) : saved_(fw::Runtime::ExecutablePath()) {
        fw::Runtime::SetExecutablePath(path);
    }
    ~ScopedExecutablePath() { fw::Runtime::SetExecutablePath(saved_); }
    ScopedExecutablePath(const ScopedExecutablePath&) = delete;
    ScopedExecutablePath& operator=(const ScopedExecutablePath&) = delete;

    const std::string& Saved() const { return saved_; }

private:
    std::string saved_;
};

// The Resources folder of the built application folder that the test main points at.
inline QString BuiltResourcesDir() {
    QDir bin = QFileInfo(QString::fromStdString(fw::Runtime::ExecutablePath())).dir();
    bin.cdUp();
    return bin.filePath("Resources");
}

// Lets queued work (deferred deletes, posted reports, repaints) run.
inline void Settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
    }
}

}  // namespace testutil
