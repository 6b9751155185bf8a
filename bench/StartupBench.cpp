// Start-up as a user meets it: from the exec of the real executable until its first window has
// been painted, beside a plain Qt window with an empty table started the same way.

#include <QApplication>
#include <QMainWindow>
#include <QProcess>
#include <QTableView>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "framework/FirstPaintProbe.h"

namespace {

int PlainWindow(int argc, char** argv) {
    QApplication app(argc, argv);
    fw::InstallFirstPaintProbe();
    QMainWindow window;
    window.setCentralWidget(new QTableView);
    window.resize(800, 500);
    window.show();
    return QApplication::exec();
}

// The median time in milliseconds from start to the line "first paint".
double MedianToFirstPaint(const QString& program, const QStringList& args, int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QProcess process;
        process.setReadChannel(QProcess::StandardError);
        const auto start = std::chrono::steady_clock::now();
        process.start(program, args);
        QByteArray seen;
        while (!seen.contains("first paint") && process.waitForReadyRead(10'000)) {
            seen += process.readAllStandardError();
        }
        const auto end = std::chrono::steady_clock::now();
        process.waitForFinished(10'000);
        if (!seen.contains("first paint")) {
            std::fprintf(stderr, "%s never reported its first paint\n", qPrintable(program));
            return -1;
        }
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    setenv("TUNEMILL_EXIT_AFTER_FIRST_PAINT", "1", 1);
    if (argc > 1 && std::strcmp(argv[1], "--plain") == 0) {
        return PlainWindow(argc, argv);
    }
    QCoreApplication app(argc, argv);
    const int runs = 11;
    const double tunemill = MedianToFirstPaint(TUNEMILL_APP_DIR "/bin/tunemill", {}, runs);
    const double plain =
        MedianToFirstPaint(QCoreApplication::applicationFilePath(), {"--plain"}, runs);
    std::printf(
        "exec to first paint, median of %d: tunemill %.1f ms, plain Qt window %.1f ms, "
        "ratio %.2f\n",
        runs, tunemill, plain, plain > 0 ? tunemill / plain : 0.0);
    return tunemill < 0 || plain < 0 ? 1 : 0;
}
