// P1 and P4: ten WAVs converted through the application against the same command lines run one
// after another by a shell loop, in one run, as a ratio; and the longest time that one of the
// shell's event handlers held the event loop meanwhile.
// With "scale N": the longest output and end events in a list of N rows, while the converting
// row is sorted away again and again, so that each event must find it by its number; and
// Convert's handler, which looks through the list for a file of its output's name. With
// "scale N samename" every other row bears the name of the second output, in other folders, the
// most that this look can find.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "conversion/CommandLine.h"
#include "conversion/OutputPath.h"
#include "framework/Shell.h"
#include "framework/ToolbarItem.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

struct HandlerTimes {
    double longestData = 0;
    double longestEnd = 0;
    double convertHandler = 0;
    int dataEvents = 0;
};

// Runs every Ready row of the window through the application; the wall time in ms.
// `beforeEvent` runs, untimed, before each of the shell's events reaches the program.
double ThroughTheApplication(Main& window, HandlerTimes& times,
                             const std::function<void()>& beforeEvent = {}) {
    auto& shell = window.WinShell();
    shell.Connect<void(fw::Shell&)>("DataAvailable", "(  )", [&](fw::Shell& s) {
        if (beforeEvent) {
            beforeEvent();
        }
        const auto start = Clock::now();
        window.WinShell_DataAvailable(s);
        times.longestData = std::max(times.longestData, Ms(Clock::now() - start));
        ++times.dataEvents;
    });
    shell.Connect<void(fw::Shell&)>("Completed", "(  )", [&](fw::Shell& s) {
        if (beforeEvent) {
            beforeEvent();
        }
        const auto start = Clock::now();
        window.WinShell_Completed(s);
        times.longestEnd = std::max(times.longestEnd, Ms(Clock::now() - start));
    });
    const auto start = Clock::now();
    window.TBConvert_Action(window.TBConvert());
    times.convertHandler = Ms(Clock::now() - start);
    while (!window.TBConvert().Enabled()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return Ms(Clock::now() - start);
}

double ThroughAShellLoop(const std::vector<std::string>& lines) {
    std::string script;
    for (const auto& line : lines) {
        script += line + " > /dev/null 2>&1\n";
    }
    const auto start = Clock::now();
    QProcess sh;
    sh.setStandardInputFile(QProcess::nullDevice());
    sh.start("/bin/sh", {"-c", QString::fromStdString(script)});
    sh.waitForFinished(-1);
    return Ms(Clock::now() - start);
}

bool MakeWav(const QString& path, int seconds, int frequency) {
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-v", "error", "-f", "lavfi", "-i",
                            QString("sine=frequency=%1:duration=%2").arg(frequency).arg(seconds),
                            "-ac", "2", "-y", path});
    return ffmpeg.waitForFinished(-1) && ffmpeg.exitCode() == 0;
}

int Scale(int rows, bool sameName) {
    QTemporaryDir dir;
    const QString one = dir.filePath("the one.wav");
    const QString two = dir.filePath("the two.wav");
    MakeWav(one, 120, 440);
    MakeWav(two, 5, 660);
    auto window = WindowWithRows(rows);
    auto& list = window->AlternatingList1();
    for (int r = 0; r < list.ListCount(); ++r) {
        list.SetCell(r, 7, "Complete");
        if (sameName) {
            list.SetCell(r, 0, "the two-128k.mp3");
        }
    }
    // The end event of the first starts the second, so it too looks through the list.
    window->AddAudioRow(std::make_shared<fw::FolderItem>(one.toStdString()));
    window->AddAudioRow(std::make_shared<fw::FolderItem>(two.toStdString()));
    // Before each event the list is sorted by its folder column, in turns up and down, so the
    // converting row (in a folder of its own) goes from one end of the list to the other.
    bool ascending = false;
    auto sortAway = [&] {
        list.SortByColumn(2, ascending);
        ascending = !ascending;
    };
    HandlerTimes times;
    ThroughTheApplication(*window, times, sortAway);
    std::printf("%d rows%s, the converting row sorted away before every event:\n", rows,
                sameName ? ", all of the second output's name" : "");
    std::printf(
        "Convert's handler %.3f ms, longest output event %.3f ms over %d events, "
        "end event %.3f ms (goal < 10 ms)\n",
        times.convertHandler, times.longestData, times.dataEvents, times.longestEnd);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "scale") {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        BenchApp app(argc, argv);
        return Scale(argc > 2 ? std::atoi(argv[2]) : 100000,
                     argc > 3 && std::string(argv[3]) == "samename");
    }
    const int files = argc > 1 ? std::atoi(argv[1]) : 10;
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 60;
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 3;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    BenchApp app(argc, argv);
    QTemporaryDir dir;
    std::vector<std::string> inputs;
    for (int i = 0; i < files; ++i) {
        const QString path = dir.filePath(QString("tone %1.wav").arg(i));
        MakeWav(path, seconds, 220 + 20 * i);
        inputs.push_back(path.toStdString());
    }
    const std::string resources = TUNEMILL_APP_DIR "/Resources";
    std::vector<std::string> lines;
    for (const auto& in : inputs) {
        lines.push_back(FfmpegCommandLine(resources, in, 128, OutputPath(in, 128).value()));
    }

    std::printf("P1: %d WAVs of %d s, through the application and through a shell loop\n", files,
                seconds);
    double appTotal = 0;
    double loopTotal = 0;
    HandlerTimes times;
    // In turns, so that a change in the machine's load falls on both alike.
    for (int round = 0; round < rounds; ++round) {
        fw::Window::CloseAll();
        auto window = Main::Instance();
        for (const auto& in : inputs) {
            window->AddAudioRow(std::make_shared<fw::FolderItem>(in));
        }
        const double a = ThroughTheApplication(*window, times);
        const double l = ThroughAShellLoop(lines);
        std::printf("  round %d: application %.0f ms, shell loop %.0f ms, ratio %.3f\n", round + 1,
                    a, l, a / l);
        appTotal += a;
        loopTotal += l;
    }
    std::printf("P1 ratio (application / shell loop): %.3f (goal <= 1.02)\n", appTotal / loopTotal);
    std::printf(
        "P4 longest output event %.3f ms over %d events, longest end event %.3f ms "
        "(goal < 10 ms)\n",
        times.longestData, times.dataEvents, times.longestEnd);
    return 0;
}
