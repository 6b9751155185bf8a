#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <signal.h>

#include <string>
#include <vector>

// The real executable, started as a user starts it: it comes up, and a termination signal
// ends it as closing its window does, with the exit status 0 and nothing reported.
namespace {

// Whether the process catches the signal yet (its handlers are installed once the runtime
// stands, just before the window is made).
bool Catches(qint64 pid, int signal) {
    QFile status(QString("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) {
        return false;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("SigCgt:")) {
            bool ok = false;
            const qulonglong mask = line.mid(7).trimmed().toULongLong(&ok, 16);
            return ok && (mask & (1ULL << (signal - 1))) != 0;
        }
    }
    return false;
}

TEST(Executable, QuitsOnATerminationSignalAsClosingItsWindowDoes) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        QProcess app;
        app.start(TUNEMILL_APP_DIR "/bin/tunemill", {});
        ASSERT_TRUE(app.waitForStarted());
        QElapsedTimer timer;
        timer.start();
        while (!Catches(app.processId(), signal) && timer.elapsed() < 20000) {
            QThread::msleep(10);
        }
        ASSERT_TRUE(Catches(app.processId(), signal));
        // Standing, not ending by itself: its window is open and its loop waits.
        EXPECT_FALSE(app.waitForFinished(700));
        ::kill(static_cast<pid_t>(app.processId()), signal);
        ASSERT_TRUE(app.waitForFinished(20000));
        EXPECT_EQ(app.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(app.exitCode(), 0);
        const std::string errors = app.readAllStandardError().toStdString();
        EXPECT_EQ(errors.find("unhandled exception"), std::string::npos) << errors;
    }
}

}  // namespace
