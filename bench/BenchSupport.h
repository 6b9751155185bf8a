#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "app/App.h"
#include "app/FileTypes.h"
#include "framework/Application.h"
#include "framework/FolderItem.h"
#include "framework/ModalUI.h"
#include "listview/CustomCellListbox.h"
#include "mainwindow/Main.h"

// Starts the application as main does, without the event loop, with dialogs answered by a
// script so that benchmarks can drive intake.
class BenchApp {
public:
    BenchApp(int& argc, char** argv) : runtime_(argc, argv) {
        FileTypes::Initialize();
        fw::Runtime::SetApplication(std::make_shared<App>());
        fw::Runtime::SetExecutablePath(TUNEMILL_APP_DIR "/bin/tunemill");
        ui = std::make_shared<fw::ScriptedModalUI>();
        fw::SetModalUI(ui);
    }
    ~BenchApp() {
        runtime_.ReleaseGlobals();
        FileTypes::pAudio.reset();
    }

    std::shared_ptr<fw::ScriptedModalUI> ui;

private:
    fw::Runtime runtime_;
};

using BenchClock = std::chrono::steady_clock;

inline double MillisecondsSince(BenchClock::time_point start) {
    return std::chrono::duration<double, std::milli>(BenchClock::now() - start).count();
}

// Names as a music library has them: 40 to 60 bytes, past any short-string buffer.
inline std::string RealisticName(int i) {
    static const char* const artists[] = {"some artist", "the band name", "a singer here",
                                          "orchestra north", "duo of nine"};
    static const char* const titles[] = {"a song title", "a longer song title", "intro again",
                                         "the ballad of a river", "night drive"};
    char number[16];
    std::snprintf(number, sizeof number, "%06d", i);
    return std::string("track ") + number + " - " + artists[i % 5] + " - " + titles[(i / 5) % 5] +
           ".wav";
}

// Folder paths of 30 to 50 bytes.
inline std::string RealisticFolder(int i) {
    return "/home/listener/Music/Artist " + std::to_string(i % 37) + "/Album number " +
           std::to_string(i % 97);
}

// A fresh window holding `rows` audio rows added in a shuffled order (the files need not exist
// to be listed).
inline std::shared_ptr<Main> WindowWithRows(int rows) {
    fw::Window::CloseAll();
    auto window = Main::Instance();
    std::vector<int> order(static_cast<std::size_t>(rows));
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(12345));
    for (int i : order) {
        window->AddAudioRow(
            std::make_shared<fw::FolderItem>(RealisticFolder(i) + "/" + RealisticName(i)));
    }
    QCoreApplication::processEvents();
    return window;
}

// Puts the rows into a random order through the list's own reordering, tags and all: each pass
// moves a random half of the rows to the end, and a few dozen passes leave no trace of the
// order before.
inline void ScrambleRows(fw::Listbox& list, std::mt19937& rng) {
    const fw::Int32 count = list.ListCount();
    int passes = 2;
    for (fw::Int32 n = count; n > 1; n /= 2) {
        ++passes;
    }
    std::bernoulli_distribution coin(0.5);
    for (int pass = 0; pass < passes; ++pass) {
        std::vector<fw::Int32> picked;
        for (fw::Int32 i = 0; i < count; ++i) {
            if (coin(rng)) {
                picked.push_back(i);
            }
        }
        list.MoveRows(picked, count);
    }
}

// A folder of `count` empty audio files named like a music library, created in a shuffled
// order, made once per count; the path is 30 to 50 bytes long.
inline QString FolderOfAudioFiles(QTemporaryDir& dir, int count) {
    const QString path = dir.filePath("music library " + QString::number(count));
    if (!QDir(path).exists()) {
        QDir().mkpath(path);
        std::vector<int> order(static_cast<std::size_t>(count));
        std::iota(order.begin(), order.end(), 0);
        std::shuffle(order.begin(), order.end(), std::mt19937(777));
        for (int i : order) {
            QFile f(path + "/" + QString::fromStdString(RealisticName(i)));
            f.open(QIODevice::WriteOnly);
        }
    }
    return path;
}

// The file system's own pace for the same folder: `find DIR -type f | wc -l`, in milliseconds.
inline double FindFloorMs(const QString& folder) {
    const auto start = BenchClock::now();
    QProcess sh;
    sh.start("/bin/sh", {"-c", "find \"$0\" -type f | wc -l", folder});
    sh.waitForFinished(-1);
    return MillisecondsSince(start);
}

// The process's peak resident memory so far (VmHWM), in kB.
inline long PeakMemoryKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::atol(line.c_str() + 6);
        }
    }
    return -1;
}
