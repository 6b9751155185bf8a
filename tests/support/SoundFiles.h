#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QThread>

#include <functional>
#include <string>

#include "framework/MoviePlayer.h"

namespace testutil {

// Writes a sine tone of that length with the system's ffmpeg; the format follows the name's
// extension, and `codec` picks an encoder where the extension allows several.
inline bool MakeTone(const QString& path, double seconds, const QString& codec = {}) {
    QStringList args = {"-loglevel",
                        "error",
                        "-y",
                        "-f",
                        "lavfi",
                        "-i",
                        QString("sine=frequency=440:duration=%1").arg(seconds)};
    if (!codec.isEmpty()) {
        args << "-c:a" << codec;
    }
    args << path;
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", args);
    const bool ok = ffmpeg.waitForFinished(30000) && ffmpeg.exitStatus() == QProcess::NormalExit &&
                    ffmpeg.exitCode() == 0 && QFile(path).size() > 0;
    EXPECT_TRUE(ok) << path.toStdString() << ": " << ffmpeg.readAllStandardError().toStdString();
    return ok;
}

// Runs the event loop until `done` holds or `ms` have passed; whether it holds.
inline bool WaitUntil(const std::function<bool()>& done, int ms) {
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

// Runs the event loop for `ms`, whatever happens.
inline void RunFor(int ms) {
    WaitUntil([] { return false; }, ms);
}

}  // namespace testutil
