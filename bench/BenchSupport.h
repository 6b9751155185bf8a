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

// The file system's own pace for the same folder: `find DIR -maxdepth 1 | wc -l`, in
// milliseconds.
inline double FindFloorMs(const QString& folder) {
    const auto start = BenchClock::now();
    QProcess sh;
    sh.start("/bin/sh", {"-c", "find \"$0\" -maxdepth 1 | wc -l", folder});
    sh.waitForFinished(-1);
    return MillisecondsSince(start);
}

// A music library as users have one: "artist - album - 07 - title.ext" with names of about 66
// characters at the median, about 8% of them with letters beyond ASCII, audio files of every
// extension of the type in either case, and other files (covers, notes, playlists) among them.
// All names are distinct; the same `seed` gives the same names.
inline std::vector<std::string> LibraryNames(int audio, int others, unsigned seed = 2024) {
    static const char* const ascii[] = {
        "Aurora Lane",   "The Quiet Harbour", "Miles Ahead Quartet",    "Northern Lights Ensemble",
        "Velvet Static", "Paper Kites",       "Orchestra of the Night", "DJ Falcon",
        "Blue Meridian", "Silver Creek Band", "Lowland Choir",          "Static Bloom"};
    static const char* const wide[] = {"Sigur Rós",      "Motörhead Tribute", "Beyoncé Covers",
                                       "Вежливый отказ", "東京事変",          "심야 라디오",
                                       "Ólafur Arnalds", "Zoë Keating"};
    static const char* const albums[] = {"Live at the Old Theatre",
                                         "Greatest Hits",
                                         "Sessions Vol 2",
                                         "Winter Recordings",
                                         "The Long Road Home",
                                         "Demos and Rarities",
                                         "Night Drive",
                                         "Deluxe Edition Remastered"};
    static const char* const words[] = {"river", "light",  "morning", "echo",   "dancing", "heart",
                                        "city",  "golden", "shadow",  "summer", "broken",  "wings",
                                        "ocean", "fire",   "slow",    "avenue", "letter",  "home"};
    static const char* const audioExt[] = {"mp3", "mp3", "mp3", "m4a", "wav",
                                           "ogg", "aac", "wma", "MP3", "WAV"};
    static const char* const otherExt[] = {"jpg", "txt", "cue", "log", "nfo", "m3u", "png", "pdf"};
    std::mt19937 rng(seed);
    auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(audio + others));
    for (int i = 0; i < audio + others; ++i) {
        const bool isAudio = i < audio;
        std::string name = pick(100) < 8 ? wide[pick(8)] : ascii[pick(12)];
        name += " - ";
        name += albums[pick(8)];
        char number[32];
        std::snprintf(number, sizeof number, " - %03d%03d - ", i % 100, (i / 100) % 1000);
        name += number;
        const int titleWords = 1 + pick(4);
        for (int w = 0; w < titleWords; ++w) {
            if (w > 0) {
                name += ' ';
            }
            name += words[pick(18)];
        }
        name += '.';
        name += isAudio ? audioExt[pick(10)] : otherExt[pick(8)];
        names.push_back(std::move(name));
    }
    std::shuffle(names.begin(), names.end(), rng);
    return names;
}

// The library above as empty files in a folder of `parent` (tmpfs where there is one), made
// once per count: `audio` audio files and `others` other files.
inline QString LibraryFolder(const QString& parent, int audio, int others) {
    const QString path = parent + "/library " + QString::number(audio);
    if (!QDir(path).exists()) {
        QDir().mkpath(path);
        for (const auto& name : LibraryNames(audio, others)) {
            QFile f(path + "/" + QString::fromStdString(name));
            f.open(QIODevice::WriteOnly);
        }
    }
    return path;
}

// Where benchmarks make their folders: in memory when the machine has /dev/shm.
inline std::unique_ptr<QTemporaryDir> BenchFolderParent() {
    const QString shm = "/dev/shm";
    return std::make_unique<QTemporaryDir>((QDir(shm).exists() ? shm : QDir::tempPath()) +
                                           "/tunemill-bench-XXXXXX");
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
